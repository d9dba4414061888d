// Windows: the system's own conversions for the ANSI code page of the locale.
#include <windows.h>

#include "platform/ansi_code_page.h"

namespace quorix {
namespace {

// A 32-bit process cannot hold a text longer than INT_MAX units next to its
// conversion, so the length always fits.
int length_of(std::size_t size) { return static_cast<int>(size); }

}  // namespace

std::string to_ansi(std::u16string_view text) {
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = length_of(text.size());
  const int size = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, length, out.data(), size, nullptr, nullptr);
  return out;
}

std::u16string from_ansi(std::string_view text) {
  if (text.empty()) return {};
  const int length = length_of(text.size());
  const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  std::u16string out(static_cast<std::size_t>(size), u'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, reinterpret_cast<wchar_t*>(out.data()), size);
  return out;
}

}  // namespace quorix
