#include "window/headless_back_end.h"

#include <utility>

#include "window/form1.h"
#include "window/utf16.h"

namespace quorix {

class HeadlessBackEnd::Peer final : public ControlPeer {
 public:
  Peer(HeadlessBackEnd& owner, std::string name, const Image* image)
      : owner_(owner), name_(std::move(name)), image_(image) {}

  void visible_changed() override { note("visible"); }
  void bounds_changed() override { note("bounds"); }
  void text_changed() override { note("text"); }
  void text_appended(std::u16string_view) override { note("append"); }
  void scroll_one_line() override { note("scroll"); }
  void picture_changed() override { note("picture"); }
  void hint_changed() override { note("hint"); }
  void repaint() override {
    note("repaint");
    if (image_) owner_.repainted_picture = image_->picture();
  }

 private:
  void note(const char* what) { owner_.notices.push_back(name_ + " " + what); }

  HeadlessBackEnd& owner_;
  std::string name_;
  const Image* image_;
};

HeadlessBackEnd::HeadlessBackEnd() = default;
HeadlessBackEnd::~HeadlessBackEnd() = default;

void HeadlessBackEnd::create_window(::TForm1& form) {
  const auto attach = [this](Control& control, std::string name, const Image* image = nullptr) {
    peers_.push_back(std::make_unique<Peer>(*this, std::move(name), image));
    control.set_peer(peers_.back().get());
  };
  attach(form.Label1, "Label1");
  attach(form.Image1, "Image1", &form.Image1);
  attach(form.Edit1, "Edit1");
  attach(form.Memo1, "Memo1");
  attach(form.Memo3, "Memo3");
  repainted_picture = form.Image1.picture();
}

void HeadlessBackEnd::process_pending_events() {
  ++pending_event_processings;
  auto events = std::exchange(pending_events, {});
  for (auto& event : events) event();
}

void HeadlessBackEnd::show_message(std::u16string_view text) { messages.push_back(utf8_from_utf16(text)); }

void HeadlessBackEnd::show_error_report(std::u16string_view text) { error_reports.push_back(utf8_from_utf16(text)); }

std::optional<std::string> HeadlessBackEnd::run_save_dialog(SaveDialog& dialog) {
  proposed_file_names.push_back(dialog.file_name);
  if (save_dialog_answers.empty()) return std::nullopt;
  auto answer = std::move(save_dialog_answers.front());
  save_dialog_answers.pop_front();
  if (answer) dialog.file_name = *answer;
  return answer;
}

void HeadlessBackEnd::request_close() {
  pending_events.push_back([this] { terminating = true; });
}

}  // namespace quorix
