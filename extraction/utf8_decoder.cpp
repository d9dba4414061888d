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

// Decodes the sequence at bytes[i], advancing i past it and the fault that
// may follow; returns the units written.
std::size_t decode_one(const unsigned char* bytes, std::size_t size, std::size_t& i, char16_t* units) {
  const unsigned char lead = bytes[i];
  // Fast paths for the common ASCII and two-byte (Cyrillic) sequences.
  if (lead != 0 && lead < 0x80) {
    units[0] = lead;
    ++i;
    return 1;
  }
  if (lead >= 0xC2 && lead <= 0xDF && i + 1 < size && is_continuation(bytes[i + 1])) {
    units[0] = static_cast<char16_t>(((lead & 0x1Fu) << 6) | (bytes[i + 1] & 0x3Fu));
    i += 2;
    return 1;
  }
  const Sequence sequence = lead == 0 ? Sequence{0, 0} : read_sequence(bytes + i, size - i);
  if (sequence.length == 0) {
    units[0] = replacement;
    ++i;
    while (i < size && !can_start_sequence(bytes[i])) ++i;
    return 1;
  }
  i += sequence.length;
  if (sequence.code_point > 0xFFFF) {
    const char32_t offset = sequence.code_point - 0x10000;
    units[0] = static_cast<char16_t>(0xD800 + (offset >> 10));
    units[1] = static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
    return 2;
  }
  units[0] = static_cast<char16_t>(sequence.code_point);
  return 1;
}

}  // namespace

std::u16string decode_utf8(std::string_view text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  // Every byte gives at most one unit; four bytes give two.
  std::u16string out(size, u'\0');
  char16_t* units = out.data();
  std::size_t written = 0;
  std::size_t i = 0;
  while (i < size) {
    // Most of a page is ASCII: take eight bytes at a time while none is a
    // zero byte or above 0x7F.
    while (size - i >= 8) {
      std::uint64_t block;
      std::memcpy(&block, bytes + i, 8);
      const std::uint64_t zero_bytes = (block - 0x0101010101010101u) & ~block;
      if (((block | zero_bytes) & 0x8080808080808080u) != 0) break;
      for (int k = 0; k < 8; ++k) units[written + k] = bytes[i + k];
      written += 8;
      i += 8;
    }
    if (i < size) written += decode_one(bytes, size, i, units + written);
  }
  out.resize(written);
  return out;
}

}  // namespace quorix
