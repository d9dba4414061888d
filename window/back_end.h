#pragma once
// What the main window needs of a windowing system: native counterparts for
// its controls, the event loop's pending events, the two message forms and
// the save dialog.
#include <optional>
#include <string>
#include <string_view>

#include "window/controls.h"

class TForm1;

namespace quorix {

class BackEnd {
 public:
  virtual ~BackEnd() = default;
  // Called once by the form when all its controls exist; gives them peers.
  virtual void create_window(::TForm1& form) = 0;
  // Handles every waiting event; a close request only marks the program as
  // terminating.
  virtual void process_pending_events() = 0;
  // Caption "Quorix", no icon, the text as given, one "OK" button.
  virtual void show_message(std::u16string_view text) = 0;
  // Caption "Quorix", stop icon, one OK button; the program's windows are
  // disabled while it is up.
  virtual void show_error_report(std::u16string_view text) = 0;
  // The full path chosen (ANSI), or nothing when cancelled or failed; a
  // choice is kept in dialog.file_name and proposed at the next opening.
  virtual std::optional<std::string> run_save_dialog(SaveDialog& dialog) = 0;
};

}  // namespace quorix
