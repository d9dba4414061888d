#pragma once
// The window operations the extraction run uses. Strings the run hands over
// as its own texts (log lines, messages) are UTF-8; data (the input, the
// page text, the member lines) is ANSI code page bytes.
#include <string>
#include <string_view>

namespace quorix {

enum class RunControl { LogPanel, InputLine, Prompt, PictureButton };

class RunWindow {
 public:
  virtual ~RunWindow() = default;
  virtual std::string read_input() = 0;
  virtual void append_log_line(std::string_view utf8_line) = 0;
  virtual void clear_log() = 0;
  virtual void set_log_height(int height) = 0;
  virtual void scroll_log_one_line() = 0;
  virtual void set_visible(RunControl control, bool visible) = 0;
  // The response buffer: reading gives back exactly the bytes last set.
  virtual void set_response_text(std::string page_text) = 0;
  virtual const std::string& response_text() = 0;
  virtual void clear_result_list() = 0;
  virtual void append_result_line(std::string_view ansi_line) = 0;
  virtual int result_line_count() = 0;
  virtual void process_pending_events() = 0;
  virtual void show_message(std::string_view utf8_text) = 0;
  // Hint "Сохранить результат", the save-mode released picture, repaint,
  // show, tag 2: in this order.
  virtual void switch_to_save_mode() = 0;
};

}  // namespace quorix
