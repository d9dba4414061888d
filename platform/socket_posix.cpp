// POSIX sockets, with the system's errors reported as Windows Sockets numbers
// so that every build shows the same messages.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/socket.h"

namespace quorix {
namespace {

int windows_number(int error) {
  switch (error) {
    case ECONNREFUSED: return socket_error::connection_refused;
    case ECONNRESET:
    case EPIPE: return socket_error::connection_reset;
    case ETIMEDOUT: return socket_error::timed_out;
    case ENETUNREACH: return socket_error::network_unreachable;
    case EHOSTUNREACH: return socket_error::host_unreachable;
    case ENETDOWN: return socket_error::network_down;
    case EHOSTDOWN: return socket_error::host_down;
    case ECONNABORTED: return socket_error::connection_aborted;
    case ENETRESET: return socket_error::network_reset;
    case ENOBUFS:
    case ENOMEM: return socket_error::no_buffer_space;
    case EACCES: return 10013;
    case EMFILE:
    case ENFILE: return 10024;
    case EADDRINUSE: return 10048;
    case EADDRNOTAVAIL: return 10049;
    case ENOTCONN: return 10057;
    default: return socket_error::system_call_failure;
  }
}

[[noreturn]] void fail_with_errno() { throw SocketError(windows_number(errno)); }

int milliseconds(std::chrono::milliseconds limit) {
  return static_cast<int>(std::min<long long>(limit.count(), 0x7fffffff));
}

// Waits for `events` on `fd` for at most `limit`; false when it passed.
bool wait_for(int fd, short events, std::chrono::milliseconds limit) {
  pollfd entry{fd, events, 0};
  for (;;) {
    const int ready = ::poll(&entry, 1, milliseconds(limit));
    if (ready > 0) return true;
    if (ready == 0) return false;
    if (errno != EINTR) fail_with_errno();
  }
}

class PosixConnection : public Connection {
 public:
  explicit PosixConnection(int fd) : fd_(fd) {}
  ~PosixConnection() override { ::close(fd_); }
  PosixConnection(const PosixConnection&) = delete;
  PosixConnection& operator=(const PosixConnection&) = delete;

  void send_all(const char* data, std::size_t size) override {
    while (size > 0) {
      const ssize_t sent = ::send(fd_, data, size, MSG_NOSIGNAL);
      if (sent < 0) {
        if (errno == EINTR) continue;
        fail_with_errno();
      }
      data += sent;
      size -= static_cast<std::size_t>(sent);
    }
  }

  std::ptrdiff_t receive(char* buffer, std::size_t size,
                         std::chrono::milliseconds limit) override {
    if (!wait_for(fd_, POLLIN, limit)) return -1;
    for (;;) {
      const ssize_t got = ::recv(fd_, buffer, size, 0);
      if (got >= 0) return got;
      if (errno != EINTR) fail_with_errno();
    }
  }

  bool closed_by_peer() override {
    // A close that has arrived shows at once; waiting the allowed 1 ms would
    // cost every page of a healthy connection that millisecond.
    if (!wait_for(fd_, POLLIN, std::chrono::milliseconds(0))) return false;
    char byte;
    return ::recv(fd_, &byte, 1, MSG_PEEK | MSG_DONTWAIT) != -1 || errno != EAGAIN;
  }

 private:
  int fd_;
};

in_addr resolve(const std::string& host) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const int status = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
  if (status == EAI_SYSTEM) fail_with_errno();
  if (status == EAI_MEMORY) throw SocketError(socket_error::no_buffer_space);
  // Every other lookup failure (unknown name, no answer, no server) is what
  // Windows reports as "Host not found.".
  if (status != 0 || found == nullptr) throw SocketError(socket_error::host_not_found);
  const in_addr address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
  ::freeaddrinfo(found);
  return address;
}

}  // namespace

std::unique_ptr<Connection> connect_tcp(const std::string& host, std::uint16_t port,
                                        std::chrono::milliseconds limit) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr = resolve(host);

  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) fail_with_errno();
  auto connection = std::make_unique<PosixConnection>(fd);

  // Non-blocking only while connecting, so that the attempt can be bounded.
  const int flags = ::fcntl(fd, F_GETFL);
  ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    if (errno != EINPROGRESS) fail_with_errno();
    if (!wait_for(fd, POLLOUT, limit)) throw SocketError(socket_error::timed_out);
    int error = 0;
    socklen_t length = sizeof error;
    ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length);
    if (error != 0) throw SocketError(windows_number(error));
  }
  ::fcntl(fd, F_SETFL, flags);
  return connection;
}

}  // namespace quorix
