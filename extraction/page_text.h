#pragma once
// Reading one members API answer: its page text, the invalid-group marker,
// the member count and the member lines. Every field is a raw slice of the
// page text: JSON escapes stay as they are.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorix {

// The answer's UTF-8 converted into the ANSI code page; never holds a zero byte.
std::string convert_answer(std::string_view answer);

// True when `"error_msg":"Invalid group id"` occurs anywhere.
bool has_invalid_group_marker(std::string_view page_text);

// The text between the first `{"response":{"count":` and the nearest `,"`
// after it, read by str_to_int; nothing when either is missing. May throw.
std::optional<std::int32_t> member_count(std::string_view page_text);

struct MemberFields {
  std::string_view uid, first_name, last_name;
};

// The member matches in the order of their place in the page text: `uid":`,
// the uid up to the nearest `,"first_name":"`, the first name up to the
// nearest `","last_name":"`, the last name up to the nearest quote that no
// backslash escapes. Each next match starts right after the previous one.
class MemberScanner {
 public:
  explicit MemberScanner(std::string_view page_text);
  bool next(MemberFields& out);

 private:
  std::string_view text_;
  std::size_t position_ = 0;
};

// Appends uid;first name;last name; with no line end.
void append_member_line(std::string& out, const MemberFields& fields);

}  // namespace quorix
