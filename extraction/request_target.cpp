#include "extraction/request_target.h"

#include <cstdint>

namespace quorix {
namespace {

bool stands_on_request_line(unsigned char byte) {
  return byte > 0x20 && byte < 0x7f && byte != '#';
}

}  // namespace

std::string page_path(std::string_view group_id, int page) {
  const std::int64_t offset = static_cast<std::int64_t>(page) * 1000;
  std::string path = "/method/groups.getMembers?group_id=";
  path += group_id;
  path += "&offset=" + std::to_string(offset) + "&count=1000&fields=sex";
  return path;
}

std::string request_target(std::string_view path_and_query) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string target;
  target.reserve(path_and_query.size());
  for (const char c : path_and_query) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      target += '/';
    } else if (stands_on_request_line(byte)) {
      target += c;
    } else {
      target += '%';
      target += hex[byte >> 4];
      target += hex[byte & 0x0f];
    }
  }
  return target;
}

std::string request_head(std::string_view target, std::string_view host,
                         std::string_view cookies) {
  std::string head = "GET ";
  head += target;
  head += " HTTP/1.1\r\nContent-Type: text/html\r\nHost: ";
  head += host;
  head += "\r\nAccept: text/html, */*\r\nUser-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n";
  if (!cookies.empty()) {
    head += "Cookie: ";
    head += cookies;
    head += "\r\n";
  }
  head += "\r\n";
  return head;
}

}  // namespace quorix
