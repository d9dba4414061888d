#pragma once
// The system's ANSI code page: the single-byte encoding of all text the
// program handles as data (input, page text, member lines, result file).
#include <string>
#include <string_view>

namespace quorix {

// UTF-16 code units to ANSI bytes; characters the code page lacks become its
// best-fit character or "?". Never fails.
std::string to_ansi(std::u16string_view text);

// ANSI bytes to UTF-16, for showing data through the wide-character API.
std::u16string from_ansi(std::string_view text);

}  // namespace quorix
