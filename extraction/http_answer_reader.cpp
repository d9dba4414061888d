#include "extraction/http_answer_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace quorix {
namespace {

constexpr std::size_t buffer_size = 64 * 1024;
constexpr std::uint64_t max_chunk_size = 0x7fffffff;
constexpr std::size_t reserve_limit = 1024 * 1024;  // an announced length is only a claim

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_letters(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

bool has_token(std::string_view list, std::string_view token) {
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    if (same_letters(trimmed(list.substr(0, comma)), token)) return true;
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return false;
}

// The number after the first space of the status line, up to the next space.
int status_code(std::string_view status_line) {
  const std::size_t space = status_line.find(' ');
  if (space == std::string_view::npos) return -1;
  std::string_view digits = status_line.substr(space + 1);
  digits = digits.substr(0, digits.find(' '));
  if (digits.empty() || digits.size() > 9) return -1;
  int code = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return -1;
    code = code * 10 + (c - '0');
  }
  return code;
}

std::optional<std::uint64_t> decimal(std::string_view text) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return value;
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = lower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "1a;name=value" -> 26; extensions are ignored, anything else is refused.
std::optional<std::uint64_t> chunk_size(std::string_view line) {
  const std::string_view digits = trimmed(line.substr(0, line.find(';')));
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    const int digit = hex_digit(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint64_t>(digit);
    if (value > max_chunk_size) return std::nullopt;
  }
  return value;
}

enum class Framing { none, length, chunked, until_close };

Framing framing_of(const AnswerHead& head, std::uint64_t& length) {
  if ((head.status >= 100 && head.status < 200) || head.status == 204 || head.status == 304)
    return Framing::none;
  if (const auto coding = head.field("Transfer-Encoding"); coding && has_token(*coding, "chunked"))
    return Framing::chunked;
  if (const auto field = head.field("Content-Length")) {
    if (const auto value = decimal(*field)) {
      length = *value;
      return length == 0 ? Framing::none : Framing::length;
    }
  }
  return Framing::until_close;
}

}  // namespace

std::optional<std::string_view> AnswerHead::field(std::string_view name) const {
  for (const auto& [field_name, value] : fields)
    if (same_letters(field_name, name)) return std::string_view(value);
  return std::nullopt;
}

std::vector<std::string_view> AnswerHead::values(std::string_view name) const {
  std::vector<std::string_view> found;
  for (const auto& [field_name, value] : fields)
    if (same_letters(field_name, name)) found.emplace_back(value);
  return found;
}

bool AnswerHead::succeeded() const {
  const bool redirected = std::any_of(fields.begin(), fields.end(), [](const auto& f) {
    return same_letters(f.first, "Location") && !f.second.empty();
  });
  return status >= 200 && status <= 299 && !redirected;
}

bool AnswerHead::asks_to_close() const {
  for (const auto& [name, value] : fields)
    if ((same_letters(name, "Connection") || same_letters(name, "Proxy-Connection")) &&
        has_token(value, "close"))
      return true;
  return false;
}

AnswerReader::AnswerReader(ByteSource& source) : source_(source), buffer_(buffer_size) {}

bool AnswerReader::fill(std::chrono::milliseconds wait_limit) {
  if (ended_) return false;
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  const std::ptrdiff_t got = source_.receive(buffer_.data() + end_, buffer_.size() - end_, wait_limit);
  if (got < 0) throw AnswerError(answer_failure::read_timeout);
  if (got == 0) {
    ended_ = true;
    return false;
  }
  end_ += static_cast<std::size_t>(got);
  return true;
}

std::optional<std::string> AnswerReader::read_line(std::chrono::milliseconds wait_limit) {
  std::size_t scanned = 0;
  for (;;) {
    const char* start = buffer_.data() + begin_;
    const std::size_t unread = end_ - begin_;
    if (const void* lf = std::memchr(start + scanned, '\n', unread - scanned)) {
      const std::size_t length = static_cast<std::size_t>(static_cast<const char*>(lf) - start);
      if (length > max_head_line) throw AnswerError(answer_failure::line_too_long);
      std::string line(start, length);
      begin_ += length + 1;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    if (unread > max_head_line) throw AnswerError(answer_failure::line_too_long);
    scanned = unread;
    if (!fill(wait_limit)) return std::nullopt;
  }
}

AnswerHead AnswerReader::read_one_head(std::chrono::milliseconds wait_limit) {
  AnswerHead head;
  auto status_line = read_line(wait_limit);
  if (!status_line) throw AnswerError(answer_failure::closed);
  head.status_line = std::move(*status_line);
  head.status = status_code(head.status_line);
  std::size_t head_size = head.status_line.size();
  if (head.status_line.empty()) {
    head.complete = true;
    return head;
  }
  while (auto line = read_line(wait_limit)) {
    if (line->empty()) {
      head.complete = true;
      break;
    }
    head_size += line->size();
    if (head_size > max_head_size) throw AnswerError(answer_failure::head_too_large);
    const std::size_t colon = line->find(':');
    if (colon == std::string::npos) continue;
    const std::string_view text(*line);
    head.fields.emplace_back(trimmed(text.substr(0, colon)), trimmed(text.substr(colon + 1)));
  }
  return head;
}

AnswerHead AnswerReader::read_head(std::chrono::milliseconds wait_limit) {
  for (;;) {
    AnswerHead head = read_one_head(wait_limit);
    if (head.status != 100 || !head.complete) return head;
  }
}

std::string AnswerReader::read_body(const AnswerHead& head, std::chrono::milliseconds wait_limit) {
  std::string body;
  read_body_into(head, wait_limit, &body);
  return body;
}

void AnswerReader::skip_body(const AnswerHead& head, std::chrono::milliseconds wait_limit) {
  read_body_into(head, wait_limit, nullptr);
}

void AnswerReader::read_body_into(const AnswerHead& head, std::chrono::milliseconds wait_limit,
                                  std::string* keep) {
  std::uint64_t length = 0;
  switch (framing_of(head, length)) {
    case Framing::none:
      return;
    case Framing::length: {
      const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(length, SIZE_MAX));
      if (keep) keep->reserve(std::min(count, reserve_limit));
      copy_bytes(count, wait_limit, keep);
      return;
    }
    case Framing::chunked:
      read_chunks(wait_limit, keep);
      return;
    case Framing::until_close:
      copy_bytes(SIZE_MAX, wait_limit, keep);
      return;
  }
}

// Copies up to `count` bytes, fewer when the source ends; returns how many.
std::size_t AnswerReader::copy_bytes(std::size_t count, std::chrono::milliseconds wait_limit,
                                     std::string* keep) {
  std::size_t copied = 0;
  while (copied < count) {
    if (begin_ == end_ && !fill(wait_limit)) break;
    const std::size_t take = std::min(count - copied, end_ - begin_);
    if (keep) keep->append(buffer_.data() + begin_, take);
    begin_ += take;
    copied += take;
  }
  return copied;
}

void AnswerReader::read_chunks(std::chrono::milliseconds wait_limit, std::string* keep) {
  for (;;) {
    const auto size_line = read_line(wait_limit);
    if (!size_line) throw AnswerError(answer_failure::closed);
    const auto size = chunk_size(*size_line);
    if (!size) throw AnswerError(answer_failure::bad_chunk_size);
    if (*size == 0) break;
    const std::size_t count = static_cast<std::size_t>(*size);
    if (copy_bytes(count, wait_limit, keep) < count || !read_line(wait_limit))
      throw AnswerError(answer_failure::closed);
  }
  // Trailer fields carry nothing this client uses.
  for (;;) {
    const auto trailer = read_line(wait_limit);
    if (!trailer) throw AnswerError(answer_failure::closed);
    if (trailer->empty()) return;
  }
}

}  // namespace quorix
