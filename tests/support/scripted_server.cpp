#include "tests/support/scripted_server.h"

#include <algorithm>

#include "tests/support/native_socket.h"

namespace quorix::testing {
namespace {

constexpr auto tick = std::chrono::milliseconds(10);

// Waits one tick for `s` to become readable.
bool readable(NativeSocket s) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval wait{0, static_cast<long>(std::chrono::microseconds(tick).count())};
  return ::select(static_cast<int>(s) + 1, &set, nullptr, nullptr, &wait) > 0;
}

}  // namespace

ServerStep read_request() { return {ServerStep::Kind::read_request, {}, {}}; }
ServerStep send(std::string bytes) { return {ServerStep::Kind::send, std::move(bytes), {}}; }
ServerStep pause(std::chrono::milliseconds duration) { return {ServerStep::Kind::pause, {}, duration}; }
ServerStep close_connection() { return {ServerStep::Kind::close, {}, {}}; }
ServerStep reset_connection() { return {ServerStep::Kind::reset, {}, {}}; }

ScriptedServer::ScriptedServer(std::vector<ConnectionScript> scripts, ServerOptions options)
    : scripts_(std::move(scripts)), options_(options) {
  listener_ = static_cast<std::uintptr_t>(loopback_listener(8, port_));
  thread_ = std::thread([this] { serve(); });
}

ScriptedServer::~ScriptedServer() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  stop_signal_.notify_all();
  thread_.join();
  close_socket(native(listener_));
}

std::vector<RecordedRequest> ScriptedServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

int ScriptedServer::connections_accepted() const {
  std::lock_guard lock(mutex_);
  return accepted_;
}

bool ScriptedServer::stopped_after(std::chrono::microseconds duration) {
  std::unique_lock lock(mutex_);
  return stop_signal_.wait_for(lock, duration, [this] { return stop_; });
}

void ScriptedServer::record(int connection, std::string bytes) {
  std::lock_guard lock(mutex_);
  requests_.push_back({connection, std::move(bytes)});
}

void ScriptedServer::serve() {
  for (int index = 0; index < static_cast<int>(scripts_.size());) {
    if (stopped_after(std::chrono::microseconds(0))) return;
    if (!readable(native(listener_))) continue;
    const NativeSocket client = ::accept(native(listener_), nullptr, nullptr);
    if (!valid(client)) continue;
    {
      std::lock_guard lock(mutex_);
      ++accepted_;
    }
    play(static_cast<std::uintptr_t>(client), index++);
  }
}

// Appends what the client sent within one tick; false once it has closed.
bool ScriptedServer::read_more(std::uintptr_t client, std::string& pending) {
  if (!readable(native(client))) return true;
  char buffer[4096];
  const auto got = ::recv(native(client), buffer, sizeof buffer, 0);
  if (got <= 0) return false;
  pending.append(buffer, static_cast<std::size_t>(got));
  return true;
}

void ScriptedServer::play(std::uintptr_t client, int index) {
  const NativeSocket s = native(client);
  std::string pending;
  bool open = true;
  auto take_request = [&]() -> bool {
    for (;;) {
      const std::size_t end = pending.find("\r\n\r\n");
      if (end != std::string::npos) {
        record(index, pending.substr(0, end + 4));
        pending.erase(0, end + 4);
        return true;
      }
      if (stopped_after(std::chrono::microseconds(0)) || !read_more(client, pending)) return false;
    }
  };
  for (const ServerStep& step : scripts_[index]) {
    if (!open) break;
    switch (step.kind) {
      case ServerStep::Kind::read_request:
        open = take_request();
        break;
      case ServerStep::Kind::send:
        for (std::size_t at = 0; open && at < step.bytes.size(); at += options_.piece_size) {
          const std::size_t size = std::min(options_.piece_size, step.bytes.size() - at);
          open = ::send(s, step.bytes.data() + at, static_cast<int>(size), send_flags) == static_cast<int>(size) &&
                 !stopped_after(options_.piece_pause);
        }
        break;
      case ServerStep::Kind::pause:
        open = !stopped_after(step.duration);
        break;
      case ServerStep::Kind::reset: {
        const linger abort_on_close{1, 0};
        ::setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort_on_close),
                     sizeof abort_on_close);
        open = false;
        break;
      }
      case ServerStep::Kind::close:
        open = false;
        break;
    }
  }
  while (open && take_request()) {
  }
  close_socket(s);
}

}  // namespace quorix::testing
