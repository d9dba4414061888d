#pragma once
// Text to a signed 32-bit integer, as the member count is read.
#include <cstdint>
#include <string_view>

namespace quorix {

// Leading spaces, an optional sign, then decimal digits (signed 32-bit range)
// or "$", "x", "X", "0x", "0X" and hexadecimal digits (up to FFFFFFFF, all 32
// bits). Nothing may follow. Throws std::runtime_error otherwise.
std::int32_t str_to_int(std::string_view text);

}  // namespace quorix
