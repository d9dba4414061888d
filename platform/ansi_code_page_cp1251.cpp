// Systems without an ANSI code page: Windows-1251, which fits the program's
// Russian texts, with a best-fit fallback for accented Latin letters.
#include <array>
#include <cstdint>

#include "platform/ansi_code_page.h"

namespace quorix {
namespace {

// Bytes 0x80 to 0xBF; 0x98 has no character and stands for U+0098, so that
// every byte survives the trip to UTF-16 and back.
constexpr std::array<char16_t, 64> upper_block = {
    u'\u0402', u'\u0403', u'\u201A', u'\u0453', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u20AC', u'\u2030', u'\u0409', u'\u2039', u'\u040A', u'\u040C', u'\u040B', u'\u040F',
    u'\u0452', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u0098', u'\u2122', u'\u0459', u'\u203A', u'\u045A', u'\u045C', u'\u045B', u'\u045F',
    u'\u00A0', u'\u040E', u'\u045E', u'\u0408', u'\u00A4', u'\u0490', u'\u00A6', u'\u00A7',
    u'\u0401', u'\u00A9', u'\u0404', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u0407',
    u'\u00B0', u'\u00B1', u'\u0406', u'\u0456', u'\u0491', u'\u00B5', u'\u00B6', u'\u00B7',
    u'\u0451', u'\u2116', u'\u0454', u'\u00BB', u'\u0458', u'\u0405', u'\u0455', u'\u0457',
};

// U+00C0 to U+017F: the base letter of each accented Latin letter, "?" where
// there is none.
constexpr char16_t best_fit_first = u'\u00C0';
constexpr std::string_view best_fit_letters =
    "AAAAAA?CEEEEIIIIDNOOOOO?OUUUUY??"
    "aaaaaa?ceeeeiiiidnooooo?ouuuuy?y"
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGg"
    "GgGgHhHhIiIiIiIiIi??JjKk?LlLlLlL"
    "lLlNnNnNn???OoOoOo??RrRrRrSsSsSs"
    "SsTtTtTtUuUuUuUuUuUuWwYyYZzZzZz?";

constexpr char16_t from_byte(unsigned char byte) {
  if (byte < 0x80) return byte;
  if (byte >= 0xC0) return static_cast<char16_t>(u'\u0410' + (byte - 0xC0));
  return upper_block[byte - 0x80];
}

// UTF-16 to bytes in two levels: the unit's high byte picks one of a few
// 256-byte pages, all other high bytes share a page of "?".
struct EncodeTable {
  std::array<std::uint8_t, 256> page_of_high_byte{};
  std::array<std::array<char, 256>, 6> pages{};
};

constexpr EncodeTable make_encode_table() {
  EncodeTable table;
  for (auto& page : table.pages) page.fill('?');
  std::uint8_t used = 1;
  const auto set = [&](char16_t unit, char byte) {
    auto& page_index = table.page_of_high_byte[unit >> 8];
    if (page_index == 0) page_index = used++;
    table.pages[page_index][unit & 0xFF] = byte;
  };
  for (char16_t unit = best_fit_first; unit < best_fit_first + best_fit_letters.size(); ++unit) {
    set(unit, best_fit_letters[unit - best_fit_first]);
  }
  for (int byte = 0; byte < 256; ++byte) {
    set(from_byte(static_cast<unsigned char>(byte)), static_cast<char>(byte));
  }
  return table;
}

constexpr EncodeTable encode_table = make_encode_table();

}  // namespace

std::string to_ansi(std::u16string_view text) {
  std::string out(text.size(), '\0');
  char* bytes = out.data();
  const char16_t* units = text.data();
  const std::size_t size = text.size();
  for (std::size_t i = 0; i < size; ++i) {
    const char16_t unit = units[i];
    bytes[i] = encode_table.pages[encode_table.page_of_high_byte[unit >> 8]][unit & 0xFF];
  }
  return out;
}

std::u16string from_ansi(std::string_view text) {
  std::u16string out(text.size(), u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) out[i] = from_byte(static_cast<unsigned char>(text[i]));
  return out;
}

}  // namespace quorix
