#include "tools/stand_in_api/group_plan.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace stand_in {
namespace {

template <typename Number>
std::optional<Number> parse_decimal(std::string_view text) {
  if (text.empty() || !std::all_of(text.begin(), text.end(),
                                   [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// "failK" and the like: the page number after the fault's name.
std::optional<std::uint64_t> page_after(std::string_view token, std::string_view name) {
  if (!token.starts_with(name)) return std::nullopt;
  return parse_decimal<std::uint64_t>(token.substr(name.size()));
}

bool apply_fault(GroupPlan& plan, std::string_view token) {
  if (token == "close") return plan.close = true;
  if (token == "chunked") return plan.chunked = true;
  if (token == "cookie") return plan.cookie = true;
  if (token.starts_with("status")) {
    const auto status = parse_decimal<int>(token.substr(6));
    if (!status || *status < 200 || *status > 599) return false;
    plan.status = *status;
    return true;
  }
  const struct {
    std::string_view name;
    std::vector<std::uint64_t> GroupPlan::*pages;
  } page_faults[] = {{"fail", &GroupPlan::failing_pages},
                     {"stall", &GroupPlan::stalled_pages},
                     {"drop", &GroupPlan::dropped_pages},
                     {"empty", &GroupPlan::empty_pages}};
  for (const auto& fault : page_faults) {
    if (const auto page = page_after(token, fault.name)) {
      (plan.*fault.pages).push_back(*page);
      return true;
    }
  }
  return false;
}

}  // namespace

bool GroupPlan::has(const std::vector<std::uint64_t>& pages, std::uint64_t page) {
  return std::find(pages.begin(), pages.end(), page) != pages.end();
}

std::optional<GroupPlan> parse_group_plan(std::string_view group_id) {
  const auto dash = group_id.find('-');
  const auto size = parse_decimal<std::uint32_t>(group_id.substr(0, dash));
  // The member count must stay a valid count for the API: at most 2^31 - 1.
  if (!size || *size > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())) {
    return std::nullopt;
  }
  GroupPlan plan;
  plan.size = *size;
  auto rest = dash == std::string_view::npos ? std::string_view{} : group_id.substr(dash);
  while (!rest.empty()) {
    rest.remove_prefix(1);
    const auto next = rest.find('-');
    if (!apply_fault(plan, rest.substr(0, next))) return std::nullopt;
    rest = next == std::string_view::npos ? std::string_view{} : rest.substr(next);
  }
  return plan;
}

}  // namespace stand_in
