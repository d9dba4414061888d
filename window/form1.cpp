#include "window/form1.h"

#include <exception>
#include <utility>

#include "export/save.h"
#include "extraction/run.h"
#include "platform/ansi_code_page.h"
#include "window/button_pictures.h"
#include "window/error_report_text.h"
#include "window/utf16.h"

using quorix::Bounds;

namespace {

constexpr int start_mode = 1;
constexpr int save_mode = 2;
constexpr int log_panel_full_height = 106;

quorix::Picture picture_from(std::span<const std::uint8_t> bmp) { return quorix::Picture::from_bmp(bmp); }

}  // namespace

TForm1::TForm1(quorix::BackEnd& back_end, std::unique_ptr<quorix::PageFetcher> http)
    : back_end_(back_end),
      Label1(Bounds{0, 8, 282, 13}, quorix::utf16_from_utf8("Вставьте  URL или ID группы:")),
      Image1(Bounds{80, 56, 0, 0}, true),
      Image2(Bounds{296, 8, 0, 0}, false),
      Image3(Bounds{296, 56, 0, 0}, false),
      Image4(Bounds{424, 8, 0, 0}, false),
      Image5(Bounds{424, 56, 0, 0}, false),
      Button1(Bounds{296, 112, 75, 25}, false),
      Edit1(Bounds{2, 26, 278, 21}, true),
      Memo1(Bounds{744, 56, 481, 465}, true),
      Memo2(Bounds{216, 280, 297, 465}, false),
      Memo3(Bounds{2, 2, 278, log_panel_full_height}, false),
      Button2(Bounds{384, 112, 75, 25}, false),
      IdHTTP1(std::move(http)) {
  Image2.set_picture(picture_from(quorix::start_pressed_bmp()));
  Image3.set_picture(picture_from(quorix::start_released_bmp()));
  Image4.set_picture(picture_from(quorix::save_released_bmp()));
  Image5.set_picture(picture_from(quorix::save_pressed_bmp()));
  Image1.set_picture(Image3.picture());
  Image1.set_tag(start_mode);
  Image1.set_hint(quorix::utf16_from_utf8("Начать процесс извлечения ID"));
  back_end_.create_window(*this);
}

void TForm1::Button1Click() { quorix::extraction_run(*this, *IdHTTP1); }

void TForm1::Button2Click() { quorix::save_result(*this); }

void TForm1::Image1Click() {
  if (Image1.tag() == start_mode) {
    Button1Click();
  } else if (Image1.tag() == save_mode) {
    Button2Click();
  }
}

void TForm1::Image1MouseDown() {
  if (Image1.tag() == start_mode) Image1.set_picture(Image2.picture());
  if (Image1.tag() == save_mode) Image1.set_picture(Image5.picture());
  Image1.repaint();
}

void TForm1::Image1MouseUp() {
  if (Image1.tag() == start_mode) Image1.set_picture(Image3.picture());
  if (Image1.tag() == save_mode) Image1.set_picture(Image4.picture());
  Image1.repaint();
}

bool TForm1::picture_button_pressed(quorix::MouseButton button, bool second_of_double_click) {
  const auto press = click_tracker_.press(button, second_of_double_click);
  handle_event([this] { Image1MouseDown(); });
  return press.capture_mouse;
}

void TForm1::picture_button_released(quorix::MouseButton button, bool inside_button) {
  const auto release = click_tracker_.release(button, inside_button);
  // A failed click skips the release step, so the pressed picture stays.
  handle_event([&] {
    if (release.click) Image1Click();
    if (release.release_step) Image1MouseUp();
  });
}

void TForm1::report_current_exception() noexcept {
  try {
    std::string message;
    try {
      throw;
    } catch (const std::exception& failure) {
      message = failure.what();
    } catch (...) {
      // A failure without a message is still reported.
    }
    back_end_.show_error_report(quorix::from_ansi(quorix::error_report_text(message)));
  } catch (...) {
    // Nothing sensible is left to do when even the report fails.
  }
}

std::string TForm1::read_input() { return quorix::to_ansi(Edit1.text()); }

void TForm1::append_log_line(std::string_view utf8_line) { Memo3.append_line(quorix::utf16_from_utf8(utf8_line)); }

void TForm1::clear_log() { Memo3.clear(); }

void TForm1::set_log_height(int height) { Memo3.set_height(height); }

void TForm1::scroll_log_one_line() { Memo3.scroll_one_line(); }

void TForm1::set_visible(quorix::RunControl control, bool visible) {
  switch (control) {
    case quorix::RunControl::LogPanel:
      Memo3.set_visible(visible);
      break;
    case quorix::RunControl::InputLine:
      Edit1.set_visible(visible);
      break;
    case quorix::RunControl::Prompt:
      Label1.set_visible(visible);
      break;
    case quorix::RunControl::PictureButton:
      Image1.set_visible(visible);
      break;
  }
}

void TForm1::set_response_text(std::string page_text) { Memo1.set_text(std::move(page_text)); }

const std::string& TForm1::response_text() { return Memo1.text(); }

void TForm1::clear_result_list() { Memo2.clear(); }

void TForm1::append_result_line(std::string_view ansi_line) { Memo2.append_line(ansi_line); }

int TForm1::result_line_count() { return Memo2.line_count(); }

void TForm1::process_pending_events() { back_end_.process_pending_events(); }

void TForm1::show_message(std::string_view utf8_text) { back_end_.show_message(quorix::utf16_from_utf8(utf8_text)); }

void TForm1::switch_to_save_mode() {
  Image1.set_hint(quorix::utf16_from_utf8("Сохранить результат"));
  Image1.set_picture(Image4.picture());
  Image1.repaint();
  Image1.set_visible(true);
  Image1.set_tag(save_mode);
}

std::optional<std::string> TForm1::run_save_dialog() { return back_end_.run_save_dialog(SaveDialog1); }

const std::string& TForm1::result_list_text() { return Memo2.text(); }

void TForm1::hide_picture_button() { Image1.set_visible(false); }

void TForm1::set_picture_button_tag(int tag) { Image1.set_tag(tag); }
