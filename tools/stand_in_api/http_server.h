#pragma once
// A loopback HTTP/1.1 server: persistent connections, one thread each, so
// that a stalled connection holds up no other.
#include <cstdint>

#include "tools/stand_in_api/api_answers.h"

namespace stand_in {

class HttpServer {
 public:
  // Listens on 127.0.0.1:`port` (0 picks a free port); throws std::runtime_error.
  explicit HttpServer(std::uint16_t port);
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;
  ~HttpServer();

  std::uint16_t port() const { return port_; }

  // Accepts connections until the process ends; `log` writes one stderr
  // line per request.
  [[noreturn]] void serve(ApiAnswers& api, bool log);

 private:
  int listener_ = -1;
  std::uint16_t port_ = 0;
};

}  // namespace stand_in
