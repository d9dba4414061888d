#pragma once
// The cookies the API's answers set, kept in memory and sent back with the
// later requests that they are meant for.
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorix {

using CookieTime = std::chrono::sys_seconds;

// An "expires" date in any of the forms servers use (RFC 1123, RFC 850,
// asctime), always taken as GMT; nothing when it cannot be read.
std::optional<CookieTime> parse_cookie_date(std::string_view text);

class CookieStore {
 public:
  // Takes the value of one "Set-cookie" or "Set-cookie2" field of an answer
  // from `host`. A cookie replaces the one of the same name and domain.
  void take(std::string_view set_cookie, std::string_view host, CookieTime now);
  // Drops the expired cookies and gives the "Cookie" value for a request to
  // `host` for something under `folder`: "name=value" pairs joined by "; ",
  // longer paths first. Empty when no cookie is to be sent.
  std::string cookie_list(std::string_view host, std::string_view folder, CookieTime now);
  std::size_t size() const { return cookies_.size(); }

 private:
  struct Cookie {
    std::string name;
    std::string value;
    std::string domain;
    std::optional<std::string> path;
    bool secure = false;
    std::optional<CookieTime> expires;
  };

  std::vector<Cookie> cookies_;  // oldest first
};

}  // namespace quorix
