#pragma once
// The window's HTTP client for the members API: one GET per page over a
// connection kept from page to page, with the cookies the answers set.
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "extraction/cookie_store.h"
#include "extraction/http_answer_reader.h"
#include "extraction/page_fetcher.h"
#include "platform/socket.h"

namespace quorix {

struct HttpLimits {
  std::chrono::milliseconds connect{15000};       // a connection attempt
  std::chrono::milliseconds read{30000};          // each wait for a head or a success body
  std::chrono::milliseconds failure_body{2000};   // each wait for the body of a failure answer
};

class HttpClient : public PageFetcher {
 public:
  HttpClient(std::string host, std::uint16_t port, HttpLimits limits = {});

  // Throws std::runtime_error with the failure's message: a socket error,
  // one of `answer_failure`, or the status line of a failure answer.
  std::string fetch_page(std::string_view group_id, int page) override;

 private:
  struct Exchange {
    AnswerHead head;
    std::string body;
  };

  Exchange exchange(const std::string& request);
  Connection& open_connection();

  std::string host_;
  std::uint16_t port_;
  HttpLimits limits_;
  std::unique_ptr<Connection> connection_;
  bool reusable_ = false;
  CookieStore cookies_;
};

}  // namespace quorix
