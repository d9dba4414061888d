#pragma once
// Writes the result file: create or truncate, read and write access, no
// sharing, normal attributes, the whole text in a single write, closed in
// every case. Throws std::runtime_error with
//   Cannot create file "<full path>". <system text>   when creation fails,
//   Stream write error                                when the write is short.
#include <string>
#include <string_view>

namespace quorix {

void write_result_file(const std::string& path, std::string_view bytes);

}  // namespace quorix
