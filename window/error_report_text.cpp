#include "window/error_report_text.h"

namespace quorix {

std::string error_report_text(std::string_view message) {
  std::string text(message);
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

}  // namespace quorix
