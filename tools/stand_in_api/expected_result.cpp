#include "tools/stand_in_api/expected_result.h"

#include <algorithm>

#include "tools/stand_in_api/synthetic_members.h"

namespace stand_in {
namespace {

constexpr std::uint64_t page_size = 1000;

// Decodes one well-formed sequence (the names are ours, so well-formed).
char32_t next_code_point(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at++]);
  const int continuation = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
  char32_t code = continuation == 0 ? lead : lead & (0x3F >> continuation);
  for (int i = 0; i < continuation; ++i) {
    code = (code << 6) | (static_cast<unsigned char>(text[at++]) & 0x3F);
  }
  return code;
}

bool page_fails(const GroupPlan& plan, std::uint64_t page) {
  return GroupPlan::has(plan.failing_pages, page) || GroupPlan::has(plan.stalled_pages, page) ||
         GroupPlan::has(plan.dropped_pages, page) ||
         (plan.status && (*plan.status < 200 || *plan.status > 299));
}

// A 2xx answer other than a members page reports no count and no members.
bool page_lists_members(const GroupPlan& plan, std::uint64_t page) {
  return !plan.status && !GroupPlan::has(plan.empty_pages, page);
}

// Windows-1251 bytes of UTF-8 text, one "?" per UTF-16 unit the code page lacks.
std::string to_windows_1251(std::string_view utf8) {
  std::string out;
  for (std::size_t at = 0; at < utf8.size();) {
    const auto code = next_code_point(utf8, at);
    if (code < 0x80) {
      out.push_back(static_cast<char>(code));
    } else if (code >= 0x410 && code <= 0x44F) {
      out.push_back(static_cast<char>(0xC0 + (code - 0x410)));
    } else if (code == 0x401) {
      out.push_back(static_cast<char>(0xA8));
    } else if (code == 0x451) {
      out.push_back(static_cast<char>(0xB8));
    } else {
      out.append(code > 0xFFFF ? "??" : "?");
    }
  }
  return out;
}

}  // namespace

std::optional<std::string> expected_result_file(const GroupPlan& plan) {
  if (page_fails(plan, 0)) return std::nullopt;
  // The run reads the count from page 0 and fetches every page it implies.
  const std::uint64_t count = page_lists_members(plan, 0) ? plan.size : 0;
  const std::uint64_t last_page = count > page_size ? count / page_size : 0;
  for (std::uint64_t page = 1; page <= last_page; ++page) {
    if (page_fails(plan, page)) return std::nullopt;
  }
  std::string file;
  for (std::uint64_t page = 0; page <= last_page; ++page) {
    if (!page_lists_members(plan, page)) continue;
    const auto end = std::min<std::uint64_t>(plan.size, (page + 1) * page_size);
    for (auto index = page * page_size; index < end; ++index) {
      const auto member = member_at(index);
      file += std::to_string(member.uid);
      file += ';';
      file += to_windows_1251(member.first_name);
      file += ';';
      file += to_windows_1251(member.last_name);
      file += ";\r\n";
    }
  }
  return file;
}

}  // namespace stand_in
