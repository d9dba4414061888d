#pragma once
// The text of the error report for a failure's message (ANSI bytes): a "."
// is added when the message is not empty and its last byte is above ".".
#include <string>
#include <string_view>

namespace quorix {

std::string error_report_text(std::string_view message);

}  // namespace quorix
