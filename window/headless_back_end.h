#pragma once
// A back end without a windowing system, for tests: it records what a
// window would show and lets a test script the save dialog's answers and
// the events met while pending events are processed.
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "window/back_end.h"
#include "window/picture.h"

namespace quorix {

class HeadlessBackEnd final : public BackEnd {
 public:
  HeadlessBackEnd();
  ~HeadlessBackEnd() override;

  void create_window(::TForm1& form) override;
  void process_pending_events() override;
  void show_message(std::u16string_view text) override;
  void show_error_report(std::u16string_view text) override;
  std::optional<std::string> run_save_dialog(SaveDialog& dialog) override;

  // A close request met at the next processing of pending events.
  void request_close();

  // Peer notices in order, as "<control> <notice>", e.g. "Image1 repaint".
  std::vector<std::string> notices;
  // Texts (UTF-8) of the messages and error reports shown, in order.
  std::vector<std::string> messages;
  std::vector<std::string> error_reports;
  // The picture button's picture at its last repaint.
  Picture repainted_picture;
  // Answers the save dialog gives, one per opening; an empty queue cancels.
  std::deque<std::optional<std::string>> save_dialog_answers;
  // The file name the dialog proposed at each opening.
  std::vector<std::string> proposed_file_names;
  // Events handled at the next processing of pending events.
  std::deque<std::function<void()>> pending_events;
  int pending_event_processings = 0;
  bool terminating = false;

 private:
  class Peer;
  std::vector<std::unique_ptr<Peer>> peers_;
};

}  // namespace quorix
