#include "extraction/utf8_decoder.h"

#include <cstdint>
#include <cstring>

namespace quorix {
namespace {

constexpr char16_t replacement = u'\uFFFD';

bool is_continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

bool can_start_sequence(unsigned char byte) {
  return byte < 0x80 || (byte >= 0xC2 && byte <= 0xF4);
}

struct Sequence {
  std::size_t length;  // 0 when malformed
  char32_t code_point;
};

// One well-formed sequence at the start of `bytes`, by the ranges of the
// Unicode standard: no overlong forms, no surrogates, nothing above U+10FFFF.
Sequence read_sequence(const unsigned char* bytes, std::size_t available) {
  const unsigned char lead = bytes[0];
  std::size_t length = 0;
  char32_t code_point = 0;
  unsigned char second_min = 0x80;
  unsigned char second_max = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code_point = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code_point = lead & 0x0Fu;
    if (lead == 0xE0) second_min = 0xA0;
    if (lead == 0xED) second_max = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code_point = lead & 0x07u;
    if (lead == 0xF0) second_min = 0x90;
    if (lead == 0xF4) second_max = 0x8F;
  } else {
    return {0, 0};
  }
  if (available < length) return {0, 0};
  if (bytes[1] < second_min || bytes[1] > second_max) return {0, 0};
  for (std::size_t i = 1; i < length; ++i) {
    if (!is_continuation(bytes[i])) return {0, 0};
    code_point = (code_point << 6) | (bytes[i] & 0x3Fu);
  }
  return {length, code_point};
}

// Bytes 1 to 127 copied as they are, eight at a time while they last.
std::size_t ascii_run_length(const unsigned char* bytes, std::size_t available) {
  std::size_t n = 0;
  constexpr std::uint64_t high_bits = 0x8080808080808080u;
  constexpr std::uint64_t low_bits = 0x0101010101010101u;
  while (n + 8 <= available) {
    std::uint64_t word;
    std::memcpy(&word, bytes + n, 8);
    const bool has_high_or_zero = ((word | ((word - low_bits) & ~word)) & high_bits) != 0;
    if (has_high_or_zero) break;
    n += 8;
  }
  while (n < available && bytes[n] != 0 && bytes[n] < 0x80) ++n;
  return n;
}

}  // namespace

std::u16string decode_utf8(std::string_view text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  std::u16string out(size, u'\0');
  std::size_t written = 0;
  std::size_t i = 0;
  while (i < size) {
    const std::size_t ascii = ascii_run_length(bytes + i, size - i);
    for (std::size_t k = 0; k < ascii; ++k) out[written + k] = bytes[i + k];
    written += ascii;
    i += ascii;
    if (i == size) break;

    const Sequence sequence = bytes[i] == 0 ? Sequence{0, 0} : read_sequence(bytes + i, size - i);
    if (sequence.length == 0) {
      out[written++] = replacement;
      ++i;
      while (i < size && !can_start_sequence(bytes[i])) ++i;
    } else if (sequence.code_point > 0xFFFF) {
      const char32_t offset = sequence.code_point - 0x10000;
      out[written++] = static_cast<char16_t>(0xD800 + (offset >> 10));
      out[written++] = static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
      i += sequence.length;
    } else {
      out[written++] = static_cast<char16_t>(sequence.code_point);
      i += sequence.length;
    }
  }
  out.resize(written);
  return out;
}

}  // namespace quorix
