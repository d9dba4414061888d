#pragma once
// The program's own texts are UTF-8 in the source; the window shows them
// through the wide-character API, so they are converted here.
#include <string>
#include <string_view>

namespace quorix {

// Malformed sequences become U+FFFD.
std::u16string utf16_from_utf8(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string utf8_from_utf16(std::u16string_view text);

}  // namespace quorix
