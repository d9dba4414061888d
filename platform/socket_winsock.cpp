// Windows Sockets: the numbers it reports are the ones the messages show.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>

#include "platform/socket.h"

namespace quorix {
namespace {

[[noreturn]] void fail_with_last_error() { throw SocketError(::WSAGetLastError()); }

void start_winsock() {
  static const int status = [] {
    WSADATA data;
    return ::WSAStartup(MAKEWORD(2, 2), &data);
  }();
  if (status != 0) throw SocketError(status);
}

timeval as_timeval(std::chrono::milliseconds limit) {
  const long long ms = std::clamp<long long>(limit.count(), 0, 0x7fffffffLL * 1000);
  return timeval{static_cast<long>(ms / 1000), static_cast<long>(ms % 1000 * 1000)};
}

// Waits for `s` to become readable for at most `limit`; false when it passed.
bool wait_readable(SOCKET s, std::chrono::milliseconds limit) {
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(s, &readable);
  timeval wait = as_timeval(limit);
  const int ready = ::select(0, &readable, nullptr, nullptr, &wait);
  if (ready == SOCKET_ERROR) fail_with_last_error();
  return ready > 0;
}

class WinsockConnection : public Connection {
 public:
  explicit WinsockConnection(SOCKET s) : socket_(s) {}
  ~WinsockConnection() override { ::closesocket(socket_); }
  WinsockConnection(const WinsockConnection&) = delete;
  WinsockConnection& operator=(const WinsockConnection&) = delete;

  void send_all(const char* data, std::size_t size) override {
    while (size > 0) {
      const int piece = static_cast<int>(std::min<std::size_t>(size, 1 << 30));
      const int sent = ::send(socket_, data, piece, 0);
      if (sent == SOCKET_ERROR) fail_with_last_error();
      data += sent;
      size -= static_cast<std::size_t>(sent);
    }
  }

  std::ptrdiff_t receive(char* buffer, std::size_t size,
                         std::chrono::milliseconds limit) override {
    if (!wait_readable(socket_, limit)) return -1;
    const int got = ::recv(socket_, buffer, static_cast<int>(std::min<std::size_t>(size, 1 << 30)), 0);
    if (got == SOCKET_ERROR) fail_with_last_error();
    return got;
  }

  bool closed_by_peer() override {
    // A close that has arrived shows at once; waiting the allowed 1 ms would
    // cost every page of a healthy connection that millisecond.
    if (!wait_readable(socket_, std::chrono::milliseconds(0))) return false;
    char byte;
    return ::recv(socket_, &byte, 1, MSG_PEEK) != SOCKET_ERROR || ::WSAGetLastError() != WSAEWOULDBLOCK;
  }

 private:
  SOCKET socket_;
};

in_addr resolve(const std::string& host) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const int status = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
  if (status == WSA_NOT_ENOUGH_MEMORY) throw SocketError(socket_error::no_buffer_space);
  // Whatever the reason (unknown name, no answer, no server), a name that
  // does not resolve is "Host not found.", as on every other system.
  if (status != 0 || found == nullptr) throw SocketError(socket_error::host_not_found);
  const in_addr address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
  ::freeaddrinfo(found);
  return address;
}

}  // namespace

std::unique_ptr<Connection> connect_tcp(const std::string& host, std::uint16_t port,
                                        std::chrono::milliseconds limit) {
  start_winsock();
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = ::htons(port);
  address.sin_addr = resolve(host);

  const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) fail_with_last_error();
  auto connection = std::make_unique<WinsockConnection>(s);

  // Non-blocking only while connecting, so that the attempt can be bounded.
  u_long non_blocking = 1;
  ::ioctlsocket(s, FIONBIO, &non_blocking);
  if (::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == SOCKET_ERROR) {
    if (::WSAGetLastError() != WSAEWOULDBLOCK) fail_with_last_error();
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(s, &writable);
    FD_SET(s, &failed);
    timeval wait = as_timeval(limit);
    const int ready = ::select(0, nullptr, &writable, &failed, &wait);
    if (ready == SOCKET_ERROR) fail_with_last_error();
    if (ready == 0) throw SocketError(socket_error::timed_out);
    if (FD_ISSET(s, &failed)) {
      int error = 0;
      int length = sizeof error;
      ::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
      throw SocketError(error != 0 ? error : socket_error::connection_refused);
    }
  }
  non_blocking = 0;
  ::ioctlsocket(s, FIONBIO, &non_blocking);
  return connection;
}

}  // namespace quorix
