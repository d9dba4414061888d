#pragma once
// Loopback ports where connecting fails or hangs, for tests of clients.
#include <cstdint>

namespace quorix::testing {

// A loopback port that nothing listens on: connecting there is refused.
std::uint16_t unused_port();

// A loopback port where connecting hangs: its listener never accepts and its
// queue of waiting connections is full, so the system drops new attempts.
class StalledListener {
 public:
  StalledListener();
  ~StalledListener();
  StalledListener(const StalledListener&) = delete;
  StalledListener& operator=(const StalledListener&) = delete;

  std::uint16_t port() const { return port_; }

 private:
  std::uintptr_t listener_;
  std::uintptr_t queued_;  // the one connection the queue has room for
  std::uint16_t port_ = 0;
};

}  // namespace quorix::testing
