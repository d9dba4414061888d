#pragma once
// The result file the program must write for a group, as the stand-in serves it.
#include <optional>
#include <string>

#include "tools/stand_in_api/group_plan.h"

namespace stand_in {

// One "uid;first;last;" line per member the program collects, CR LF after
// each, in Windows-1251; nullopt when the run cannot end with a result.
std::optional<std::string> expected_result_file(const GroupPlan& plan);

}  // namespace stand_in
