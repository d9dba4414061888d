#include "tests/support/loopback_ports.h"

#include <stdexcept>

#include "tests/support/native_socket.h"

namespace quorix::testing {

std::uint16_t unused_port() {
  std::uint16_t port = 0;
  close_socket(loopback_listener(1, port));
  return port;
}

StalledListener::StalledListener() {
  const NativeSocket listener = loopback_listener(0, port_);
  const NativeSocket queued = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port_);
  if (!valid(queued) || ::connect(queued, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close_socket(listener);
    throw std::runtime_error("stalled listener: cannot fill the queue");
  }
  listener_ = static_cast<std::uintptr_t>(listener);
  queued_ = static_cast<std::uintptr_t>(queued);
}

StalledListener::~StalledListener() {
  close_socket(native(queued_));
  close_socket(native(listener_));
}

}  // namespace quorix::testing
