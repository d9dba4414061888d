// str_to_int against a reference built on std::from_chars.
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "extraction/integer_conversion.h"

namespace {

std::optional<std::int32_t> reference(std::string_view text) {
  while (text.starts_with(' ')) text.remove_prefix(1);
  const bool negative = text.starts_with('-');
  if (negative || text.starts_with('+')) text.remove_prefix(1);
  int base = 10;
  for (const std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
    if (text.starts_with(prefix)) {
      text.remove_prefix(prefix.size());
      base = 16;
      break;
    }
  }
  if (text.empty() || text.front() == '-' || text.front() == '+') return std::nullopt;
  std::uint64_t magnitude = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  const std::uint64_t limit = base == 16 ? 0xFFFFFFFFu : negative ? 0x80000000u : 0x7FFFFFFFu;
  if (magnitude > limit) return std::nullopt;
  const auto bits = static_cast<std::uint32_t>(magnitude);
  return static_cast<std::int32_t>(negative ? 0u - bits : bits);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // Page text never holds a zero byte, and a message stops at one.
  if (text.find('\0') != std::string_view::npos) return 0;
  const auto expected = reference(text);
  try {
    if (quorix::str_to_int(text) != expected) std::abort();
  } catch (const std::runtime_error& error) {
    if (expected || error.what() != "'" + std::string(text) + "' is not a valid integer value") std::abort();
  }
  return 0;
}
