// The scanner against std::regex running the member pattern, with the last
// name ending at the first quote that no backslash escapes.
#include <cstdint>
#include <cstdlib>
#include <regex>
#include <string>
#include <string_view>

#include "extraction/page_text.h"

namespace {

// std::regex recurses once per character, so long inputs only run the scanner.
constexpr std::size_t longest_compared = 2048;

std::string scanner_lines(std::string_view page_text) {
  std::string lines;
  quorix::MemberScanner scanner(page_text);
  quorix::MemberFields fields;
  while (scanner.next(fields)) {
    quorix::append_member_line(lines, fields);
    lines += '\n';
  }
  return lines;
}

std::string regex_lines(const std::string& page_text) {
  static const std::regex pattern(
      R"re(uid":([\s\S]*?),"first_name":"([\s\S]*?)","last_name":"((?:[^"\\]|\\[\s\S])*)")re");
  std::string lines;
  for (std::sregex_iterator it(page_text.begin(), page_text.end(), pattern), end; it != end; ++it) {
    lines += (*it)[1].str() + ';' + (*it)[2].str() + ';' + (*it)[3].str() + ";\n";
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string page_text(reinterpret_cast<const char*>(data), size);
  const std::string lines = scanner_lines(page_text);
  if (size <= longest_compared && lines != regex_lines(page_text)) std::abort();
  return 0;
}
