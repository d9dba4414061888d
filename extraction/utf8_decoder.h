#pragma once
// UTF-8 answer bytes to UTF-16 code units.
#include <string>
#include <string_view>

namespace quorix {

// Well-formed UTF-8 of every length decodes, characters above U+FFFF to
// surrogate pairs. Each malformed, truncated, overlong or surrogate-encoding
// sequence, and each zero byte, becomes one U+FFFD; decoding goes on at the
// next byte that can start a sequence, so no text around a fault is lost.
std::u16string decode_utf8(std::string_view bytes);

}  // namespace quorix
