#pragma once
// A blocking IPv4 TCP connection with bounded waits. Failures throw
// SocketError carrying the Windows Sockets number and the message
// "Socket Error # <n>\r\n<text>", the same on every system.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace quorix {

// Windows Sockets numbers that every system's failures are reported as.
namespace socket_error {
inline constexpr int network_down = 10050;
inline constexpr int network_unreachable = 10051;
inline constexpr int network_reset = 10052;
inline constexpr int connection_aborted = 10053;
inline constexpr int connection_reset = 10054;
inline constexpr int no_buffer_space = 10055;
inline constexpr int timed_out = 10060;
inline constexpr int connection_refused = 10061;
inline constexpr int host_down = 10064;
inline constexpr int host_unreachable = 10065;
inline constexpr int system_call_failure = 10107;
inline constexpr int host_not_found = 11001;
}  // namespace socket_error

class SocketError : public std::runtime_error {
 public:
  explicit SocketError(int code);
  int code() const { return code_; }

 private:
  int code_;
};

// "Socket Error # <code>\r\n<text>"; the text is empty for unknown numbers.
std::string socket_error_message(int code);

class Connection {
 public:
  virtual ~Connection() = default;
  virtual void send_all(const char* data, std::size_t size) = 0;
  // Waits at most `limit` for data; returns the bytes read (0: the peer
  // closed), or -1 when the limit passed without a byte.
  virtual std::ptrdiff_t receive(char* buffer, std::size_t size,
                                 std::chrono::milliseconds limit) = 0;
  // True when the connection is no good for another request: the peer has
  // closed or reset it, or has sent bytes nobody asked for. Polls at most 1 ms.
  virtual bool closed_by_peer() = 0;
};

// Resolves `host` to an IPv4 address and connects within `limit`
// (10060 "Connection timed out." when it passes).
std::unique_ptr<Connection> connect_tcp(const std::string& host, std::uint16_t port,
                                        std::chrono::milliseconds limit);

}  // namespace quorix
