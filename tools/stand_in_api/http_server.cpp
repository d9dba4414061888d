#include "tools/stand_in_api/http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <functional>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>

namespace stand_in {
namespace {

constexpr std::size_t head_limit = 64 * 1024;

[[noreturn]] void fail(const char* what) {
  throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

bool equals_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool send_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const auto sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

// Lets the client read the whole answer before the socket goes: closing with
// unread input would reset the connection and discard the answer.
void close_gracefully(int fd) {
  ::shutdown(fd, SHUT_WR);
  timeval limit{2, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  char sink[4096];
  while (::recv(fd, sink, sizeof sink, 0) > 0) {
  }
  ::close(fd);
}

// A stalled answer: hold the connection, unanswered, until the client leaves.
void wait_for_client_to_leave(int fd) {
  char sink[4096];
  for (;;) {
    const auto got = ::recv(fd, sink, sizeof sink, 0);
    if (got == 0 || (got < 0 && errno != EINTR)) break;
  }
  ::close(fd);
}

struct ParsedHead {
  Request request;
  std::string cookie;
  std::size_t body_length = 0;
};

// The head without its final blank line; false when it is not a request.
bool parse_head(std::string_view head, ParsedHead& parsed) {
  const auto line_end = head.find("\r\n");
  const auto request_line = head.substr(0, line_end);
  const auto first_space = request_line.find(' ');
  const auto last_space = request_line.rfind(' ');
  if (first_space == std::string_view::npos || last_space <= first_space) return false;
  parsed.request.method = request_line.substr(0, first_space);
  parsed.request.target = request_line.substr(first_space + 1, last_space - first_space - 1);
  const auto version = request_line.substr(last_space + 1);
  if (!version.starts_with("HTTP/1.")) return false;
  bool close = version == "HTTP/1.0";
  auto rest = line_end == std::string_view::npos ? std::string_view{} : head.substr(line_end + 2);
  while (!rest.empty()) {
    const auto end = rest.find("\r\n");
    const auto line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 2);
    const auto colon = line.find(':');
    if (colon == std::string_view::npos) return false;
    const auto name = line.substr(0, colon);
    auto value = line.substr(colon + 1);
    while (value.starts_with(' ') || value.starts_with('\t')) value.remove_prefix(1);
    while (value.ends_with(' ') || value.ends_with('\t')) value.remove_suffix(1);
    if (equals_ignoring_case(name, "cookie")) {
      if (!parsed.cookie.empty()) parsed.cookie += "; ";
      parsed.cookie += value;
    } else if (equals_ignoring_case(name, "connection")) {
      close = equals_ignoring_case(value, "close") ||
              (close && !equals_ignoring_case(value, "keep-alive"));
    } else if (equals_ignoring_case(name, "content-length")) {
      const auto [ptr, error] =
          std::from_chars(value.data(), value.data() + value.size(), parsed.body_length);
      if (error != std::errc{} || ptr != value.data() + value.size()) return false;
    }
  }
  parsed.request.wants_close = close;
  return true;
}

void log_request(bool log, const Request& request, const Reply& reply) {
  if (!log) return;
  const auto target = std::string(request.target);
  switch (reply.kind) {
    case Reply::Kind::answer: std::fprintf(stderr, "%s -> %d\n", target.c_str(), reply.status); break;
    case Reply::Kind::stall: std::fprintf(stderr, "%s -> stall\n", target.c_str()); break;
    case Reply::Kind::drop: std::fprintf(stderr, "%s -> drop\n", target.c_str()); break;
  }
}

void serve_connection(int fd, ApiAnswers& api, bool log) {
  std::string input;
  AnswerBuffer answer;
  char buffer[16 * 1024];
  for (;;) {
    std::size_t head_end;
    std::size_t searched = 0;
    while ((head_end = input.find("\r\n\r\n", searched)) == std::string::npos) {
      if (input.size() > head_limit) {
        send_all(fd, "HTTP/1.1 431 Request Header Fields Too Large\r\nContent-Length: 0\r\n"
                     "Connection: close\r\n\r\n");
        close_gracefully(fd);
        return;
      }
      searched = input.size() < 3 ? 0 : input.size() - 3;
      const auto got = ::recv(fd, buffer, sizeof buffer, 0);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) {
        ::close(fd);
        return;
      }
      input.append(buffer, static_cast<std::size_t>(got));
    }
    ParsedHead parsed;
    if (!parse_head(std::string_view(input).substr(0, head_end), parsed)) {
      send_all(fd, "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
      close_gracefully(fd);
      return;
    }
    const auto request_end = head_end + 4 + parsed.body_length;
    while (input.size() < request_end) {
      const auto got = ::recv(fd, buffer, sizeof buffer, 0);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) {
        ::close(fd);
        return;
      }
      input.append(buffer, static_cast<std::size_t>(got));
    }
    parsed.request.cookie = parsed.cookie;
    const auto reply = api.answer(parsed.request, answer);
    log_request(log, parsed.request, reply);
    switch (reply.kind) {
      case Reply::Kind::drop: ::close(fd); return;
      case Reply::Kind::stall: wait_for_client_to_leave(fd); return;
      case Reply::Kind::answer: break;
    }
    if (!send_all(fd, reply.bytes)) {
      ::close(fd);
      return;
    }
    if (reply.close) {
      close_gracefully(fd);
      return;
    }
    input.erase(0, request_end);
  }
}

}  // namespace

HttpServer::HttpServer(std::uint16_t port) {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener_ < 0) fail("socket");
  const int on = 1;
  ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) fail("bind");
  if (::listen(listener_, 128) != 0) fail("listen");
  socklen_t length = sizeof address;
  if (::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    fail("getsockname");
  }
  port_ = ntohs(address.sin_port);
}

HttpServer::~HttpServer() { ::close(listener_); }

void HttpServer::serve(ApiAnswers& api, bool log) {
  for (;;) {
    const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      if (errno == EMFILE || errno == ENFILE) {
        // Out of descriptors: give the open connections time to end.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        continue;
      }
      fail("accept");
    }
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    std::thread(serve_connection, fd, std::ref(api), log).detach();
  }
}

}  // namespace stand_in
