#include "extraction/integer_conversion.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>

namespace quorix {
namespace {

std::optional<unsigned> digit_value(char c, unsigned base) {
  unsigned value = 0;
  if (c >= '0' && c <= '9') {
    value = static_cast<unsigned>(c - '0');
  } else if (c >= 'a' && c <= 'f') {
    value = static_cast<unsigned>(c - 'a') + 10;
  } else if (c >= 'A' && c <= 'F') {
    value = static_cast<unsigned>(c - 'A') + 10;
  } else {
    return std::nullopt;
  }
  if (value >= base) return std::nullopt;
  return value;
}

// The magnitude of a non-empty run of digits that is all of `digits`, if it
// stays within `limit`.
std::optional<std::uint32_t> parse_magnitude(std::string_view digits, unsigned base,
                                             std::uint32_t limit) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t magnitude = 0;
  for (const char c : digits) {
    const auto value = digit_value(c, base);
    if (!value) return std::nullopt;
    magnitude = magnitude * base + *value;
    if (magnitude > limit) return std::nullopt;
  }
  return static_cast<std::uint32_t>(magnitude);
}

std::size_t hex_prefix_length(std::string_view text) {
  if (text.starts_with("0x") || text.starts_with("0X")) return 2;
  if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) return 1;
  return 0;
}

std::optional<std::int32_t> parse(std::string_view text) {
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  const bool negative = text.starts_with('-');
  if (negative || text.starts_with('+')) text.remove_prefix(1);

  std::optional<std::uint32_t> magnitude;
  if (const auto prefix = hex_prefix_length(text); prefix > 0) {
    magnitude = parse_magnitude(text.substr(prefix), 16, 0xFFFFFFFFu);
  } else {
    magnitude = parse_magnitude(text, 10, negative ? 0x80000000u : 0x7FFFFFFFu);
  }
  if (!magnitude) return std::nullopt;
  // Hexadecimal values fill all 32 bits; negation wraps like the hardware does.
  const std::uint32_t bits = negative ? 0u - *magnitude : *magnitude;
  return static_cast<std::int32_t>(bits);
}

}  // namespace

std::int32_t str_to_int(std::string_view text) {
  if (const auto value = parse(text)) return *value;
  throw std::runtime_error("'" + std::string(text) + "' is not a valid integer value");
}

}  // namespace quorix
