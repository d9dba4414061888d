#include "extraction/cookie_store.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace quorix {
namespace {

// A server cannot make the store grow without end; the oldest cookie goes.
constexpr std::size_t max_cookies = 300;

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view unquoted(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
  return text;
}

std::string lowered(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(), lower);
  return result;
}

bool same_letters(std::string_view a, std::string_view b) { return lowered(a) == lowered(b); }

// The host is the domain itself or lies inside it.
bool domain_matches(std::string_view host, std::string_view domain) {
  if (host == domain) return true;
  return host.size() > domain.size() && host.ends_with(domain) &&
         host[host.size() - domain.size() - 1] == '.';
}

// Up to `max_digits` decimal digits, the whole token.
std::optional<int> number(std::string_view token, std::size_t max_digits) {
  if (token.empty() || token.size() > max_digits) return std::nullopt;
  int value = 0;
  for (char c : token) {
    if (!is_digit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<unsigned> month_number(std::string_view token) {
  static constexpr std::array<std::string_view, 12> names = {"jan", "feb", "mar", "apr", "may", "jun",
                                                             "jul", "aug", "sep", "oct", "nov", "dec"};
  if (token.size() < 3) return std::nullopt;
  const std::string start = lowered(token.substr(0, 3));
  for (std::size_t i = 0; i < names.size(); ++i)
    if (start == names[i]) return static_cast<unsigned>(i + 1);
  return std::nullopt;
}

struct ClockTime {
  int hours, minutes, seconds;
};

std::optional<ClockTime> clock_time(std::string_view token) {
  const std::size_t first = token.find(':');
  const std::size_t second = token.find(':', first == std::string_view::npos ? first : first + 1);
  if (second == std::string_view::npos) return std::nullopt;
  const auto h = number(token.substr(0, first), 2);
  const auto m = number(token.substr(first + 1, second - first - 1), 2);
  const auto s = number(token.substr(second + 1), 2);
  if (!h || !m || !s || *h > 23 || *m > 59 || *s > 59) return std::nullopt;
  return ClockTime{*h, *m, *s};
}

std::optional<long long> max_age_seconds(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  const auto digits = number(negative ? text.substr(1) : text, 9);
  if (!digits) return std::nullopt;
  return negative ? -static_cast<long long>(*digits) : *digits;
}

}  // namespace

std::optional<CookieTime> parse_cookie_date(std::string_view text) {
  std::optional<ClockTime> time;
  std::optional<int> day, year;
  std::optional<unsigned> month;
  while (!text.empty()) {
    const auto delimiter = std::find_if(text.begin(), text.end(),
                                        [](char c) { return !is_digit(c) && !is_letter(c) && c != ':'; });
    const std::string_view token = text.substr(0, static_cast<std::size_t>(delimiter - text.begin()));
    text.remove_prefix(std::min(text.size(), token.size() + 1));
    if (token.empty()) continue;
    if (!time && (time = clock_time(token))) continue;
    if (!day && (day = number(token, 2))) continue;
    if (!month && (month = month_number(token))) continue;
    if (!year && (year = number(token, 4))) continue;
  }
  if (!time || !day || !month || !year) return std::nullopt;
  int full_year = *year;
  if (full_year < 70) full_year += 2000;
  else if (full_year < 100) full_year += 1900;
  const std::chrono::year_month_day date{std::chrono::year{full_year}, std::chrono::month{*month},
                                         std::chrono::day{static_cast<unsigned>(*day)}};
  if (!date.ok()) return std::nullopt;
  return CookieTime{std::chrono::sys_days{date}} + std::chrono::hours{time->hours} +
         std::chrono::minutes{time->minutes} + std::chrono::seconds{time->seconds};
}

void CookieStore::take(std::string_view set_cookie, std::string_view host, CookieTime now) {
  const std::string request_host = lowered(host);
  const std::size_t pair_end = std::min(set_cookie.find(';'), set_cookie.size());
  const std::string_view pair = set_cookie.substr(0, pair_end);
  const std::size_t equals = pair.find('=');
  if (equals == std::string_view::npos) return;

  Cookie cookie;
  cookie.name = trimmed(pair.substr(0, equals));
  cookie.value = trimmed(pair.substr(equals + 1));
  if (cookie.name.empty()) return;
  cookie.domain = request_host;
  std::optional<long long> max_age;

  std::string_view attributes = set_cookie.substr(pair_end);
  while (!attributes.empty()) {
    attributes.remove_prefix(1);
    const std::string_view attribute = attributes.substr(0, attributes.find(';'));
    attributes.remove_prefix(attribute.size());
    const std::size_t sign = attribute.find('=');
    const std::string_view key = trimmed(attribute.substr(0, sign));
    const std::string_view value =
        sign == std::string_view::npos ? std::string_view() : unquoted(trimmed(attribute.substr(sign + 1)));
    if (same_letters(key, "domain")) {
      std::string domain = lowered(value);
      if (domain.starts_with('.')) domain.erase(0, 1);
      if (!domain.empty()) cookie.domain = std::move(domain);
    } else if (same_letters(key, "path")) {
      cookie.path = std::string(value);
    } else if (same_letters(key, "secure")) {
      cookie.secure = true;
    } else if (same_letters(key, "expires")) {
      if (const auto date = parse_cookie_date(value)) cookie.expires = date;
    } else if (same_letters(key, "max-age")) {
      max_age = max_age_seconds(value);
    }
  }
  if (max_age) cookie.expires = now + std::chrono::seconds{*max_age};
  if (!domain_matches(request_host, cookie.domain)) return;

  std::erase_if(cookies_, [&](const Cookie& old) { return old.name == cookie.name && old.domain == cookie.domain; });
  if (cookies_.size() >= max_cookies) cookies_.erase(cookies_.begin());
  cookies_.push_back(std::move(cookie));
}

std::string CookieStore::cookie_list(std::string_view host, std::string_view folder, CookieTime now) {
  std::erase_if(cookies_, [&](const Cookie& c) { return c.expires && *c.expires <= now; });
  const std::string request_host = lowered(host);
  std::vector<const Cookie*> chosen;
  for (const Cookie& c : cookies_)
    if (domain_matches(request_host, c.domain) && c.path && folder.starts_with(*c.path) && !c.secure &&
        !c.value.empty())
      chosen.push_back(&c);
  std::stable_sort(chosen.begin(), chosen.end(),
                   [](const Cookie* a, const Cookie* b) { return a->path->size() > b->path->size(); });
  std::string list;
  for (const Cookie* c : chosen) {
    if (!list.empty()) list += "; ";
    list += c->name + "=" + c->value;
  }
  return list;
}

}  // namespace quorix
