#pragma once
// The members of a synthetic group: deterministic, mostly ordinary Russian
// names, with a few in every thousand that test careful reading of the page.
#include <cstdint>
#include <string>
#include <string_view>

namespace stand_in {

struct Member {
  std::uint64_t uid;
  std::string_view first_name;  // as written inside the JSON string: UTF-8, escapes kept
  std::string_view last_name;
  int sex;
};

Member member_at(std::uint64_t index);

// {"response":{"count":N,"users":[...]}} for members [offset, offset + count)
// of a group of `group_size`, appended to `out` without a blank.
void append_members_page(std::string& out, std::uint64_t group_size, std::uint64_t offset,
                         std::uint64_t count);

}  // namespace stand_in
