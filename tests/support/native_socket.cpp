#include "tests/support/native_socket.h"

#include <stdexcept>

namespace quorix::testing {
namespace {

void start_sockets() {
#ifdef _WIN32
  static const bool started = [] {
    WSADATA data;
    return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  if (!started) throw std::runtime_error("WSAStartup failed");
#endif
}

}  // namespace

NativeSocket loopback_listener(int backlog, std::uint16_t& port) {
  start_sockets();
  const NativeSocket s = ::socket(AF_INET, SOCK_STREAM, 0);
  if (!valid(s)) throw std::runtime_error("test server: socket failed");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  AddressLength length = sizeof address;
  if (::bind(s, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(s, backlog) != 0 ||
      ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close_socket(s);
    throw std::runtime_error("test server: cannot listen on loopback");
  }
  port = ntohs(address.sin_port);
  return s;
}

}  // namespace quorix::testing
