#pragma once
// The save dialog's fixed settings; everything not named here keeps the
// system dialog's default (no title, no initial folder).
#include <string_view>

namespace quorix::save_dialog_settings {

// One file-type entry, "<shown name>|<pattern>", UTF-8; it is the selected one.
inline constexpr std::string_view filter = "файл-csv|*.csv";
inline constexpr int filter_index = 1;
// Completes a name typed without an extension.
inline constexpr std::string_view default_extension = ".csv";
inline constexpr bool hide_read_only = true;
inline constexpr bool resizable = true;
inline constexpr bool explorer_style = true;
// Choosing an existing file replaces it without a question.
inline constexpr bool overwrite_prompt = false;
// Characters, the terminating zero included, for a single file; a longer
// path makes the dialog fail, which counts as a cancel.
inline constexpr int name_buffer_length = 260;

}  // namespace quorix::save_dialog_settings
