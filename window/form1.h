#pragma once
// The main window: its controls in creation order, the handlers named after
// control and event, and the window operations the run and the save use.
#include <memory>
#include <string>
#include <string_view>

#include "export/save_window.h"
#include "extraction/page_fetcher.h"
#include "extraction/run_window.h"
#include "window/back_end.h"
#include "window/click_tracker.h"
#include "window/controls.h"

class TForm1 final : public quorix::RunWindow, public quorix::SaveWindow {
  quorix::BackEnd& back_end_;
  quorix::ClickTracker click_tracker_;

 public:
  TForm1(quorix::BackEnd& back_end, std::unique_ptr<quorix::PageFetcher> http);

  quorix::Label Label1;
  quorix::Image Image1;
  quorix::Image Image2;
  quorix::Image Image3;
  quorix::Image Image4;
  quorix::Image Image5;
  quorix::Button Button1;
  quorix::Edit Edit1;
  quorix::PageMemo Memo1;
  quorix::LineList Memo2;
  quorix::Memo Memo3;
  quorix::Button Button2;
  std::unique_ptr<quorix::PageFetcher> IdHTTP1;
  quorix::SaveDialog SaveDialog1;

  void Button1Click();
  void Button2Click();
  void Image1Click();
  void Image1MouseDown();
  void Image1MouseUp();

  // The picture button's mouse input, from the back end. A press answers
  // whether the back end is to capture the mouse.
  bool picture_button_pressed(quorix::MouseButton button, bool second_of_double_click);
  void picture_button_released(quorix::MouseButton button, bool inside_button);
  void picture_button_capture_lost() { click_tracker_.capture_lost(); }

  // Runs an event handler; an exception that leaves it is shown as the
  // error report and goes no further.
  template <class Handler>
  void handle_event(Handler&& handler) noexcept {
    try {
      handler();
    } catch (...) {
      report_current_exception();
    }
  }

  // Operations for the run.
  std::string read_input() override;
  void append_log_line(std::string_view utf8_line) override;
  void clear_log() override;
  void set_log_height(int height) override;
  void scroll_log_one_line() override;
  void set_visible(quorix::RunControl control, bool visible) override;
  void set_response_text(std::string page_text) override;
  const std::string& response_text() override;
  void clear_result_list() override;
  void append_result_line(std::string_view ansi_line) override;
  int result_line_count() override;
  void process_pending_events() override;
  void show_message(std::string_view utf8_text) override;
  void switch_to_save_mode() override;

  // Operations for the save.
  std::optional<std::string> run_save_dialog() override;
  const std::string& result_list_text() override;
  void hide_picture_button() override;
  void set_picture_button_tag(int tag) override;

 private:
  void report_current_exception() noexcept;
};
