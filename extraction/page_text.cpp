#include "extraction/page_text.h"

#include "extraction/integer_conversion.h"
#include "extraction/utf8_decoder.h"
#include "platform/ansi_code_page.h"

namespace quorix {
namespace {

constexpr std::string_view invalid_group_marker = R"("error_msg":"Invalid group id")";
constexpr std::string_view count_prefix = R"({"response":{"count":)";
constexpr std::string_view count_end = R"(,")";
constexpr std::string_view uid_key = R"(uid":)";
constexpr std::string_view first_name_key = R"(,"first_name":")";
constexpr std::string_view last_name_key = R"(","last_name":")";
constexpr std::size_t not_found = std::string_view::npos;

// The position of the nearest quote at or after `from` that an even number of
// backslashes (none included) precedes.
std::size_t find_closing_quote(std::string_view text, std::size_t from) {
  for (auto quote = text.find('"', from); quote != not_found; quote = text.find('"', quote + 1)) {
    std::size_t backslashes = 0;
    while (backslashes < quote && text[quote - 1 - backslashes] == '\\') ++backslashes;
    if (backslashes % 2 == 0) return quote;
  }
  return not_found;
}

}  // namespace

std::string convert_answer(std::string_view answer) { return to_ansi(decode_utf8(answer)); }

bool has_invalid_group_marker(std::string_view page_text) {
  return page_text.find(invalid_group_marker) != not_found;
}

std::optional<std::int32_t> member_count(std::string_view page_text) {
  const auto prefix = page_text.find(count_prefix);
  if (prefix == not_found) return std::nullopt;
  const auto start = prefix + count_prefix.size();
  const auto end = page_text.find(count_end, start);
  if (end == not_found) return std::nullopt;
  return str_to_int(page_text.substr(start, end - start));
}

MemberScanner::MemberScanner(std::string_view page_text) : text_(page_text) {}

// When the nearest delimiters fail after one `uid":`, they fail after every
// later one too, so a failed match ends the scan for good.
bool MemberScanner::next(MemberFields& out) {
  const auto fail = [this] {
    position_ = text_.size();
    return false;
  };
  const auto uid = text_.find(uid_key, position_);
  if (uid == not_found) return fail();
  const auto uid_start = uid + uid_key.size();
  const auto first_name = text_.find(first_name_key, uid_start);
  if (first_name == not_found) return fail();
  const auto first_name_start = first_name + first_name_key.size();
  const auto last_name = text_.find(last_name_key, first_name_start);
  if (last_name == not_found) return fail();
  const auto last_name_start = last_name + last_name_key.size();
  const auto quote = find_closing_quote(text_, last_name_start);
  if (quote == not_found) return fail();

  out.uid = text_.substr(uid_start, first_name - uid_start);
  out.first_name = text_.substr(first_name_start, last_name - first_name_start);
  out.last_name = text_.substr(last_name_start, quote - last_name_start);
  position_ = quote + 1;
  return true;
}

void append_member_line(std::string& out, const MemberFields& fields) {
  out.append(fields.uid).append(1, ';');
  out.append(fields.first_name).append(1, ';');
  out.append(fields.last_name).append(1, ';');
}

}  // namespace quorix
