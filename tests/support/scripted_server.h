#pragma once
// A TCP server on loopback that plays scripts, for tests of network clients.
// Each accepted connection plays the next script: it reads requests, sends
// bytes in small pieces (so that the client has to read many times), pauses,
// closes or resets. It records every request head it reads, with the index of
// the connection it came on, for the test to compare.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quorix::testing {

struct ServerStep {
  enum class Kind { read_request, send, pause, close, reset };
  Kind kind;
  std::string bytes;
  std::chrono::milliseconds duration{0};
};

// Reads one request head, up to and with its empty line.
ServerStep read_request();
ServerStep send(std::string bytes);
ServerStep pause(std::chrono::milliseconds duration);
// Closes the connection in order (the client reads its end).
ServerStep close_connection();
// Aborts the connection (the client sees it reset).
ServerStep reset_connection();

// After its last step a connection stays open until the client closes it;
// requests that still arrive are recorded and left unanswered.
using ConnectionScript = std::vector<ServerStep>;

struct RecordedRequest {
  int connection;  // 0 for the first accepted connection
  std::string bytes;
  bool operator==(const RecordedRequest&) const = default;
};

struct ServerOptions {
  std::size_t piece_size = 16;
  std::chrono::microseconds piece_pause{1000};
};

class ScriptedServer {
 public:
  explicit ScriptedServer(std::vector<ConnectionScript> scripts, ServerOptions options = {});
  ~ScriptedServer();
  ScriptedServer(const ScriptedServer&) = delete;
  ScriptedServer& operator=(const ScriptedServer&) = delete;

  std::uint16_t port() const { return port_; }
  std::vector<RecordedRequest> requests() const;
  int connections_accepted() const;

 private:
  void serve();
  void play(std::uintptr_t client, int index);
  bool read_more(std::uintptr_t client, std::string& pending);
  bool stopped_after(std::chrono::microseconds duration);
  void record(int connection, std::string bytes);

  std::vector<ConnectionScript> scripts_;
  ServerOptions options_;
  std::uintptr_t listener_;
  std::uint16_t port_ = 0;
  mutable std::mutex mutex_;
  std::condition_variable stop_signal_;
  bool stop_ = false;
  std::vector<RecordedRequest> requests_;
  int accepted_ = 0;
  std::thread thread_;
};

}  // namespace quorix::testing
