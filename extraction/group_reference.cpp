#include "extraction/group_reference.h"

#include <algorithm>

namespace quorix {

bool is_blank_reference(std::string_view reference) {
  return std::all_of(reference.begin(), reference.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 33; });
}

std::string group_identifier(std::string_view reference) {
  std::string_view candidate = reference;
  if (reference.find("http") != std::string_view::npos) {
    const auto slash = reference.rfind('/');
    candidate = slash == std::string_view::npos ? std::string_view{} : reference.substr(slash + 1);
  }
  constexpr std::string_view prefix = "club";
  if (const auto at = candidate.rfind(prefix); at != std::string_view::npos) {
    candidate.remove_prefix(at + prefix.size());
  }
  return std::string(candidate);
}

}  // namespace quorix
