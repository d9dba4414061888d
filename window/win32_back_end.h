#pragma once
// The Win32 back end: the application's owner window, the main
// window with a native control for each control that can be seen or
// reached, the tooltip, the message boxes, the save dialog and the event
// loop.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "window/back_end.h"
#include "window/click_tracker.h"

namespace quorix {

class Win32BackEnd final : public BackEnd {
 public:
  // Loads the icon "MAINICON" and creates the owner window, which carries
  // the taskbar button.
  explicit Win32BackEnd(HINSTANCE instance);
  ~Win32BackEnd() override;
  Win32BackEnd(const Win32BackEnd&) = delete;
  Win32BackEnd& operator=(const Win32BackEnd&) = delete;

  // The title of the taskbar button and of every message box.
  void set_title(std::u16string_view title);
  void enable_hints();
  // Shows the main window with the focus in the input line and handles
  // events until the window is destroyed; returns the exit code.
  int run();

  void create_window(::TForm1& form) override;
  void process_pending_events() override;
  void show_message(std::u16string_view text) override;
  void show_error_report(std::u16string_view text) override;
  std::optional<std::string> run_save_dialog(SaveDialog& dialog) override;

 private:
  class ChildPeer;
  class EditPeer;
  class LogPanelPeer;
  class PageMemoPeer;
  class PicturePeer;

  static LRESULT CALLBACK owner_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void dispatch(MSG& message);
  bool move_focus_on_tab(const MSG& message);
  void mouse_pressed(MouseButton button, bool second_of_double_click, LPARAM at);
  void mouse_released(MouseButton button, LPARAM at);
  bool on_picture_button(LPARAM at) const;
  void close_requested();
  void paint();
  template <class Handler>
  void run_handler(Handler&& handler);
  HWND create_child(const wchar_t* window_class, const wchar_t* text, DWORD style, DWORD extended_style,
                    const Control& control);

  HINSTANCE instance_;
  HICON icon_;
  HICON small_icon_;
  HWND owner_ = nullptr;
  HWND main_ = nullptr;
  HWND tooltip_ = nullptr;
  HFONT font_ = nullptr;
  HBRUSH log_panel_brush_ = nullptr;
  std::wstring title_;
  bool hints_enabled_ = false;
  ::TForm1* form_ = nullptr;
  std::vector<std::unique_ptr<ChildPeer>> children_;  // in tab order
  EditPeer* input_line_ = nullptr;
  LogPanelPeer* log_panel_ = nullptr;
  std::unique_ptr<PicturePeer> picture_button_;
  HWND label_ = nullptr;
  std::unique_ptr<ChildPeer> label_peer_;
  HWND focus_when_deactivated_ = nullptr;
  int handler_depth_ = 0;
  bool terminating_ = false;
  bool releasing_capture_ = false;
};

}  // namespace quorix
