#pragma once
// The window operations the save uses; log lines are UTF-8, paths ANSI.
#include <optional>
#include <string>
#include <string_view>

namespace quorix {

class SaveWindow {
 public:
  virtual ~SaveWindow() = default;
  // Runs the save dialog modally: the full path chosen, or nothing when the
  // user cancelled or the dialog failed.
  virtual std::optional<std::string> run_save_dialog() = 0;
  // The result list's lines, each followed by CR LF.
  virtual const std::string& result_list_text() = 0;
  virtual void append_log_line(std::string_view utf8_line) = 0;
  virtual void scroll_log_one_line() = 0;
  virtual void set_log_height(int height) = 0;
  virtual void hide_picture_button() = 0;
  virtual void set_picture_button_tag(int tag) = 0;
};

}  // namespace quorix
