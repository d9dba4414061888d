#pragma once
// What a group identifier asks of the stand-in: a synthetic group of a given
// size and the faults its pages show.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace stand_in {

struct GroupPlan {
  std::uint32_t size = 0;
  std::vector<std::uint64_t> failing_pages;  // 500 Internal Server Error
  std::vector<std::uint64_t> stalled_pages;  // accepted, never answered
  std::vector<std::uint64_t> dropped_pages;  // closed before the status line
  std::vector<std::uint64_t> empty_pages;    // 200 with an empty body
  std::optional<int> status;                 // every page answers this status
  bool close = false;                        // Connection: close on every answer
  bool chunked = false;                      // chunked bodies
  bool cookie = false;                       // session cookie required after page 0

  static bool has(const std::vector<std::uint64_t>& pages, std::uint64_t page);
};

// "<N>" followed by any number of "-<fault>"; nullopt for every identifier
// the API does not know.
std::optional<GroupPlan> parse_group_plan(std::string_view group_id);

}  // namespace stand_in
