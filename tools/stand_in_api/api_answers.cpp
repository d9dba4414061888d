#include "tools/stand_in_api/api_answers.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <optional>
#include <utility>
#include <vector>

#include "tools/stand_in_api/group_plan.h"
#include "tools/stand_in_api/synthetic_members.h"

namespace stand_in {
namespace {

constexpr std::uint64_t page_size = 1000;
constexpr std::string_view members_path = "/method/groups.getMembers";
// Far more than any head this server writes.
constexpr std::size_t head_room = 1024;

std::string_view reason_phrase(int status) {
  switch (status) {
    case 200: return "OK";
    case 201: return "Created";
    case 202: return "Accepted";
    case 204: return "No Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 303: return "See Other";
    case 304: return "Not Modified";
    case 307: return "Temporary Redirect";
    case 308: return "Permanent Redirect";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 429: return "Too Many Requests";
    case 500: return "Internal Server Error";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    case 504: return "Gateway Timeout";
    default: return "Status";
  }
}

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The client percent-encodes the bytes that cannot stand in a target.
std::string percent_decode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && hex_value(text[i + 1]) >= 0 && hex_value(text[i + 2]) >= 0) {
      out.push_back(static_cast<char>(hex_value(text[i + 1]) * 16 + hex_value(text[i + 2])));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

using QueryParams = std::vector<std::pair<std::string, std::string>>;

QueryParams parse_query(std::string_view query) {
  QueryParams params;
  while (!query.empty()) {
    const auto amp = query.find('&');
    const auto pair = query.substr(0, amp);
    const auto eq = pair.find('=');
    params.emplace_back(percent_decode(pair.substr(0, eq)),
                        eq == std::string_view::npos ? "" : percent_decode(pair.substr(eq + 1)));
    query = amp == std::string_view::npos ? std::string_view{} : query.substr(amp + 1);
  }
  return params;
}

std::optional<std::string_view> param(const QueryParams& params, std::string_view key) {
  for (const auto& [name, value] : params) {
    if (name == key) return value;
  }
  return std::nullopt;
}

std::uint64_t number_param(const QueryParams& params, std::string_view key,
                           std::uint64_t fallback) {
  const auto text = param(params, key);
  if (!text) return fallback;
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
  return error == std::errc{} && end == text->data() + text->size() ? value : fallback;
}

bool is_utf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    const int continuation = lead < 0x80 ? 0 : lead < 0xC2 ? -1 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : lead < 0xF5 ? 3 : -1;
    if (continuation < 0 || text.size() - i < static_cast<std::size_t>(continuation)) return false;
    for (int k = 0; k < continuation; ++k) {
      if ((static_cast<unsigned char>(text[i++]) & 0xC0) != 0x80) return false;
    }
  }
  return true;
}

// A JSON string's content; bytes that are not UTF-8 become U+FFFD.
void append_json_string(std::string& out, std::string_view text) {
  const bool utf8 = is_utf8(text);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (byte < 0x20) {
      constexpr char hex[] = "0123456789abcdef";
      out.append("\\u00");
      out.push_back(hex[byte >> 4]);
      out.push_back(hex[byte & 15]);
    } else if (byte >= 0x80 && !utf8) {
      out.append("\\ufffd");
    } else {
      out.push_back(c);
    }
  }
}

void append_invalid_group(std::string& body, const QueryParams& params) {
  body.append(R"({"error":{"error_code":125,"error_msg":"Invalid group id","request_params":[)");
  body.append(R"({"key":"oauth","value":"1"},{"key":"method","value":"groups.getMembers"})");
  for (const auto& [name, value] : params) {
    body.append(R"(,{"key":")");
    append_json_string(body, name);
    body.append(R"(","value":")");
    append_json_string(body, value);
    body.append(R"("})");
  }
  body.append("]}}");
}

void append_error(std::string& body, int code, std::string_view message) {
  body.append(R"({"error":{"error_code":)");
  body.append(std::to_string(code));
  body.append(R"(,"error_msg":")");
  body.append(message);
  body.append(R"("}})");
}

bool has_body(int status) { return status != 204 && status != 304; }

bool is_redirect(int status) { return status >= 300 && status <= 399 && status != 304; }

struct Head {
  int status = 200;
  bool chunked = false;
  bool close = false;
  std::string set_cookie;
};

void append_chunked(std::string& out, std::string_view body) {
  const auto append_chunk = [&out](std::string_view chunk) {
    char digits[16];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, chunk.size(), 16).ptr);
    out.append("\r\n");
    out.append(chunk);
    out.append("\r\n");
  };
  // Three chunks of unequal size, so a reader must join them.
  for (const auto size : {body.size() / 7, body.size() / 3}) {
    if (size == 0) continue;
    append_chunk(body.substr(0, size));
    body.remove_prefix(size);
  }
  if (!body.empty()) append_chunk(body);
  out.append("0\r\n\r\n");
}

std::string answer_head(const Head& head, std::size_t body_size) {
  std::string text;
  text.reserve(256);
  text.append("HTTP/1.1 ");
  text.append(std::to_string(head.status));
  text.push_back(' ');
  text.append(reason_phrase(head.status));
  text.append("\r\nServer: stand_in_api\r\nContent-Type: application/json; charset=utf-8\r\n");
  if (is_redirect(head.status)) text.append("Location: /method/moved\r\n");
  if (!head.set_cookie.empty()) {
    text.append("Set-Cookie: session=");
    text.append(head.set_cookie);
    text.append("; path=/\r\n");
  }
  if (has_body(head.status) && head.chunked) {
    text.append("Transfer-Encoding: chunked\r\n");
  } else if (has_body(head.status)) {
    text.append("Content-Length: ");
    text.append(std::to_string(body_size));
    text.append("\r\n");
  }
  text.append(head.close ? "Connection: close\r\n\r\n" : "Connection: keep-alive\r\n\r\n");
  return text;
}

// The body stands in `buffer.bytes` after the head room; the head is written
// into the room's end, so the answer is one run of bytes without a copy.
std::string_view finish_answer(AnswerBuffer& buffer, const Head& head) {
  auto& out = buffer.bytes;
  if (!has_body(head.status)) {
    out.resize(head_room);
  } else if (head.chunked) {
    buffer.chunked.clear();
    append_chunked(buffer.chunked, std::string_view(out).substr(head_room));
    out.resize(head_room);
    out.append(buffer.chunked);
  }
  const auto text = answer_head(head, out.size() - head_room);
  const auto start = head_room - text.size();
  out.replace(start, text.size(), text);
  return std::string_view(out).substr(start);
}

}  // namespace

std::string ApiAnswers::issue_session() {
  const std::lock_guard lock(sessions_mutex_);
  // Unpredictable enough that a client cannot pass by guessing.
  const auto seed = static_cast<std::uint64_t>(
      std::chrono::steady_clock::now().time_since_epoch().count());
  auto token = std::to_string(++next_session_) + "x" + std::to_string(seed % 1000000007);
  sessions_.insert(token);
  return token;
}

bool ApiAnswers::knows_session(std::string_view cookie_header) {
  const std::lock_guard lock(sessions_mutex_);
  while (!cookie_header.empty()) {
    const auto end = cookie_header.find(';');
    auto pair = cookie_header.substr(0, end);
    while (pair.starts_with(' ')) pair.remove_prefix(1);
    if (pair.starts_with("session=") && sessions_.contains(pair.substr(8))) return true;
    cookie_header =
        end == std::string_view::npos ? std::string_view{} : cookie_header.substr(end + 1);
  }
  return false;
}

Reply ApiAnswers::answer(const Request& request, AnswerBuffer& buffer) {
  auto& body = buffer.bytes;
  body.assign(head_room, ' ');
  Head head;
  head.close = request.wants_close;
  const auto question = request.target.find('?');
  const auto path = request.target.substr(0, question);
  if (request.method != "GET") {
    head.status = 405;
    append_error(body, 405, "Method Not Allowed");
  } else if (path != members_path) {
    head.status = 404;
    append_error(body, 3, "Unknown method passed");
  } else {
    const auto params = parse_query(
        question == std::string_view::npos ? std::string_view{} : request.target.substr(question + 1));
    const auto plan = parse_group_plan(param(params, "group_id").value_or(""));
    if (!plan) {
      append_invalid_group(body, params);
    } else {
      const auto offset = number_param(params, "offset", 0);
      const auto count = std::min(number_param(params, "count", page_size), page_size);
      const auto page = offset / page_size;
      head.chunked = plan->chunked;
      head.close = head.close || plan->close;
      if (GroupPlan::has(plan->dropped_pages, page)) return {Reply::Kind::drop, 0, true, {}};
      if (GroupPlan::has(plan->stalled_pages, page)) return {Reply::Kind::stall, 0, true, {}};
      if (plan->cookie && page == 0) head.set_cookie = issue_session();
      if (plan->cookie && page != 0 && !knows_session(request.cookie)) {
        head.status = 403;
        append_error(body, 403, "Session cookie missing");
      } else if (GroupPlan::has(plan->failing_pages, page)) {
        head.status = 500;
        append_error(body, 500, "Internal Server Error");
      } else if (plan->status) {
        head.status = *plan->status;
        append_error(body, *plan->status, reason_phrase(*plan->status));
      } else if (!GroupPlan::has(plan->empty_pages, page)) {
        append_members_page(body, plan->size, offset, count);
      }
    }
  }
  return {Reply::Kind::answer, head.status, head.close, finish_answer(buffer, head)};
}

}  // namespace stand_in
