#pragma once
// A system error text as the create error shows it: without the trailing
// blanks, line breaks and dots that system texts tend to end with.
#include <string>
#include <string_view>

namespace quorix {

inline std::string trimmed_system_text(std::string_view text) {
  while (!text.empty() &&
         (static_cast<unsigned char>(text.back()) <= 32 || text.back() == '.')) {
    text.remove_suffix(1);
  }
  return std::string(text);
}

}  // namespace quorix
