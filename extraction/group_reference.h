#pragma once
// The user's group reference (a web address or an identifier) and the group
// identifier sent to the members API.
#include <string>
#include <string_view>

namespace quorix {

// True when nothing is left after removing bytes below 33 from both ends.
bool is_blank_reference(std::string_view reference);

// The text after the last "/" of an address holding "http", then after the
// last "club"; byte-wise, case-sensitive, untrimmed, never validated.
std::string group_identifier(std::string_view reference);

}  // namespace quorix
