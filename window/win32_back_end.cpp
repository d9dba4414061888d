#include "window/win32_back_end.h"

#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "export/save_dialog_settings.h"
#include "platform/ansi_code_page.h"
#include "window/form1.h"
#include "window/utf16.h"

namespace quorix {
namespace {

constexpr wchar_t application_class[] = L"QuorixApplication";
constexpr wchar_t form_class[] = L"TForm1";
constexpr wchar_t form_caption[] = L"Quorix";
constexpr int client_width = 282;
constexpr int client_height = 110;
constexpr DWORD form_style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD form_extended_style = WS_EX_DLGMODALFRAME;
constexpr DWORD text_box_style = WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
constexpr COLORREF log_panel_colour = RGB(128, 128, 128);
constexpr COLORREF log_panel_text_colour = RGB(255, 255, 255);
constexpr UINT_PTR picture_button_tool = 1;
constexpr int hint_initial_ms = 500;
constexpr int hint_shown_ms = 2500;

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

std::u16string window_text(HWND window) {
  std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
  const int length = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(length, 0)));
  return text;
}

RECT rect_of(const Bounds& bounds) {
  return RECT{bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height};
}

// Marks a peer's own change of its native control, so the change notice it
// causes is not taken for the user's typing.
class OwnChange {
 public:
  explicit OwnChange(bool& flag) : flag_(flag) { flag_ = true; }
  OwnChange(const OwnChange&) = delete;
  OwnChange& operator=(const OwnChange&) = delete;
  ~OwnChange() { flag_ = false; }

 private:
  bool& flag_;
};

}  // namespace

class Win32BackEnd::ChildPeer : public ControlPeer {
 public:
  ChildPeer(HWND form, HWND window, Control& control) : form_(form), window_(window), control_(control) {}

  HWND window() const { return window_; }
  const Control& control() const { return control_; }
  bool changing_natively() const { return own_change_; }

  void visible_changed() override {
    if (!control_.visible() && GetFocus() == window_) SetFocus(form_);
    ShowWindow(window_, control_.visible() ? SW_SHOWNA : SW_HIDE);
  }
  void bounds_changed() override {
    const Bounds& b = control_.bounds();
    SetWindowPos(window_, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The user changed the native control's text.
  virtual void native_text_changed() {}
  virtual void focus_taken() {}

 protected:
  bool own_change_ = false;

 private:
  HWND form_;
  HWND window_;
  Control& control_;
};

class Win32BackEnd::EditPeer final : public ChildPeer {
 public:
  EditPeer(HWND form, HWND window, Edit& edit) : ChildPeer(form, window, edit), edit_(edit) {}
  void text_changed() override {
    const OwnChange change(own_change_);
    SetWindowTextW(window(), wide(edit_.text()));
  }
  void native_text_changed() override { edit_.take_user_text(window_text(window())); }

 private:
  Edit& edit_;
};

// A word-wrapped box takes milliseconds per appended line on some systems,
// more than a page of the run costs; a thousand pages a second cannot be
// watched anyway. So lines reach the native box at most every
// log_refresh_ms while a run appends them, and at once before anything
// else may look: the next paint, the user's input, a message, the handler's end.
class Win32BackEnd::LogPanelPeer final : public ChildPeer {
 public:
  LogPanelPeer(HWND form, HWND window, Memo& memo) : ChildPeer(form, window, memo), memo_(memo) {}
  void text_changed() override {
    pending_.clear();
    pending_scrolls_ = 0;
    const OwnChange change(own_change_);
    SetWindowTextW(window(), wide(memo_.text()));
  }
  void text_appended(std::u16string_view inserted) override {
    pending_ += inserted;
    flush_if_due();
  }
  void scroll_one_line() override {
    if (pending_.empty()) {
      SendMessageW(window(), WM_VSCROLL, SB_LINEDOWN, 0);
    } else {
      ++pending_scrolls_;
    }
  }
  void native_text_changed() override { memo_.take_user_text(window_text(window())); }

  void flush_if_due() {
    if (GetTickCount64() - last_flush_ >= log_refresh_ms) flush();
  }
  void flush() {
    last_flush_ = GetTickCount64();
    if (pending_.empty()) return;
    {
      const OwnChange change(own_change_);
      const auto end = static_cast<WPARAM>(GetWindowTextLengthW(window()));
      SendMessageW(window(), EM_SETSEL, end, static_cast<LPARAM>(end));
      SendMessageW(window(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide(pending_)));
      SendMessageW(window(), EM_SCROLLCARET, 0, 0);
    }
    pending_.clear();
    for (; pending_scrolls_ > 0; --pending_scrolls_) SendMessageW(window(), WM_VSCROLL, SB_LINEDOWN, 0);
  }

 private:
  static constexpr ULONGLONG log_refresh_ms = 50;
  Memo& memo_;
  std::u16string pending_;
  int pending_scrolls_ = 0;
  ULONGLONG last_flush_ = 0;
};

class Win32BackEnd::PageMemoPeer final : public ChildPeer {
 public:
  PageMemoPeer(HWND form, HWND window, PageMemo& memo) : ChildPeer(form, window, memo), memo_(memo) {
    SetWindowSubclass(window, &PageMemoPeer::answer_from_memory, 0, reinterpret_cast<DWORD_PTR>(this));
  }
  ~PageMemoPeer() override { RemoveWindowSubclass(window(), &PageMemoPeer::answer_from_memory, 0); }
  PageMemoPeer(const PageMemoPeer&) = delete;
  PageMemoPeer& operator=(const PageMemoPeer&) = delete;

  void text_changed() override { stale_ = true; }
  void bring_up_to_date() {
    if (!stale_) return;
    const OwnChange change(own_change_);
    SetWindowTextW(window(), wide(from_ansi(memo_.text())));
    stale_ = false;
  }
  void focus_taken() override { bring_up_to_date(); }
  void native_text_changed() override { memo_.take_user_text(to_ansi(window_text(window()))); }

 private:
  // Filling a word-wrapped box with a whole page costs seconds under some
  // systems, so while the box is behind its text, whoever reads it (screen
  // readers, automation) is answered from the text itself.
  static LRESULT CALLBACK answer_from_memory(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                             DWORD_PTR self) noexcept {
    auto& peer = *reinterpret_cast<PageMemoPeer*>(self);
    if (!peer.stale_ || (message != WM_GETTEXT && message != WM_GETTEXTLENGTH))
      return DefSubclassProc(window, message, wparam, lparam);
    try {
      const std::u16string text = from_ansi(peer.memo_.text());
      if (message == WM_GETTEXTLENGTH) return static_cast<LRESULT>(text.size());
      if (wparam == 0) return 0;
      const std::size_t count = std::min<std::size_t>(text.size(), wparam - 1);
      auto* out = reinterpret_cast<char16_t*>(lparam);
      std::copy_n(text.data(), count, out);
      out[count] = u'\0';
      return static_cast<LRESULT>(count);
    } catch (...) {
      return 0;
    }
  }

  PageMemo& memo_;
  bool stale_ = false;
};

// The picture button, drawn on the form's own surface over its white.
class Win32BackEnd::PicturePeer final : public ControlPeer {
 public:
  PicturePeer(HWND form, Image& image) : form_(form), image_(image), shown_at_(image.bounds()) {
    picture_changed();
  }

  void attach_hint(HWND tooltip) {
    tooltip_ = tooltip;
    TTTOOLINFOW tool = tool_info();
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  bool hit(POINT at) const {
    const RECT r = rect_of(image_.bounds());
    return image_.visible() && PtInRect(&r, at);
  }
  void paint(HDC dc) const {
    if (!image_.visible() || pixels_.empty()) return;
    const Bounds& b = image_.bounds();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image_.picture().width();
    info.bmiHeader.biHeight = -image_.picture().height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const auto rows = static_cast<UINT>(image_.picture().height());
    SetDIBitsToDevice(dc, b.left, b.top, static_cast<DWORD>(b.width), static_cast<DWORD>(b.height), 0, 0, 0, rows,
                      pixels_.data(), &info, DIB_RGB_COLORS);
  }

  void visible_changed() override {
    invalidate(image_.bounds());
    update_hint_area();
  }
  void bounds_changed() override {
    invalidate(shown_at_);
    shown_at_ = image_.bounds();
    invalidate(shown_at_);
    update_hint_area();
  }
  void picture_changed() override {
    pixels_ = image_.picture().over_white();
    invalidate(image_.bounds());
  }
  void hint_changed() override {
    if (!tooltip_) return;
    TTTOOLINFOW tool = tool_info();
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  void repaint() override {
    const RECT r = rect_of(image_.bounds());
    RedrawWindow(form_, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }

 private:
  TTTOOLINFOW tool_info() {
    hint_text_ = image_.hint();
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = form_;
    tool.uId = picture_button_tool;
    tool.rect = image_.visible() ? rect_of(image_.bounds()) : RECT{};
    tool.lpszText = const_cast<wchar_t*>(wide(hint_text_));
    return tool;
  }
  void update_hint_area() {
    if (!tooltip_) return;
    TTTOOLINFOW tool = tool_info();
    SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  void invalidate(const Bounds& bounds) {
    const RECT r = rect_of(bounds);
    InvalidateRect(form_, &r, TRUE);
  }

  HWND form_;
  Image& image_;
  Bounds shown_at_;
  HWND tooltip_ = nullptr;
  std::u16string hint_text_;
  std::vector<std::uint8_t> pixels_;
};

Win32BackEnd::Win32BackEnd(HINSTANCE instance)
    : instance_(instance),
      icon_(LoadIconW(instance, L"MAINICON")),
      small_icon_(static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                GetSystemMetrics(SM_CYSMICON), LR_SHARED))) {
  WNDCLASSEXW application{};
  application.cbSize = sizeof(application);
  application.lpfnWndProc = owner_procedure;
  application.hInstance = instance_;
  application.hIcon = icon_;
  application.hIconSm = small_icon_;
  application.lpszClassName = application_class;
  RegisterClassExW(&application);
  owner_ = CreateWindowExW(0, application_class, L"", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                           GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr, nullptr,
                           instance_, nullptr);
  SetWindowLongPtrW(owner_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32BackEnd::~Win32BackEnd() {
  if (owner_) DestroyWindow(owner_);
  if (font_) DeleteObject(font_);
  if (log_panel_brush_) DeleteObject(log_panel_brush_);
}

void Win32BackEnd::set_title(std::u16string_view title) {
  const std::u16string text(title);
  title_.assign(text.begin(), text.end());
  SetWindowTextW(owner_, title_.c_str());
}

void Win32BackEnd::enable_hints() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  hints_enabled_ = true;
}

void Win32BackEnd::create_window(::TForm1& form) {
  form_ = &form;
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.style = CS_DBLCLKS;
  window_class.lpfnWndProc = window_procedure;
  window_class.hInstance = instance_;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  window_class.lpszClassName = form_class;
  RegisterClassExW(&window_class);

  RECT frame{0, 0, client_width, client_height};
  AdjustWindowRectEx(&frame, form_style, FALSE, form_extended_style);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  CreateWindowExW(form_extended_style, form_class, form_caption, form_style, left, top, width, height, owner_, nullptr,
                  instance_, this);

  font_ = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
  log_panel_brush_ = CreateSolidBrush(log_panel_colour);

  label_ = create_child(L"STATIC", wide(form.Label1.caption()), SS_CENTER | SS_NOPREFIX, 0, form.Label1);
  label_peer_ = std::make_unique<ChildPeer>(main_, label_, form.Label1);
  form.Label1.set_peer(label_peer_.get());

  picture_button_ = std::make_unique<PicturePeer>(main_, form.Image1);
  form.Image1.set_peer(picture_button_.get());

  const HWND input = create_child(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, form.Edit1);
  const HWND response = create_child(L"EDIT", L"", text_box_style, WS_EX_CLIENTEDGE, form.Memo1);
  const HWND log = create_child(L"EDIT", L"", text_box_style, WS_EX_CLIENTEDGE, form.Memo3);
  for (const HWND box : {input, response, log}) SendMessageW(box, EM_SETLIMITTEXT, 0, 0);

  auto input_peer = std::make_unique<EditPeer>(main_, input, form.Edit1);
  auto response_peer = std::make_unique<PageMemoPeer>(main_, response, form.Memo1);
  auto log_peer = std::make_unique<LogPanelPeer>(main_, log, form.Memo3);
  input_line_ = input_peer.get();
  log_panel_ = log_peer.get();
  form.Edit1.set_peer(input_peer.get());
  form.Memo1.set_peer(response_peer.get());
  form.Memo3.set_peer(log_peer.get());
  children_.push_back(std::move(input_peer));
  children_.push_back(std::move(response_peer));
  children_.push_back(std::move(log_peer));

  if (hints_enabled_) {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, main_, nullptr, instance_,
                               nullptr);
    SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_INITIAL, hint_initial_ms);
    SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, hint_shown_ms);
    picture_button_->attach_hint(tooltip_);
  }
}

HWND Win32BackEnd::create_child(const wchar_t* window_class, const wchar_t* text, DWORD style, DWORD extended_style,
                                const Control& control) {
  const Bounds& b = control.bounds();
  const DWORD visible = control.visible() ? WS_VISIBLE : 0;
  const HWND child = CreateWindowExW(extended_style, window_class, text, WS_CHILD | WS_CLIPSIBLINGS | visible | style,
                                     b.left, b.top, b.width, b.height, main_, nullptr, instance_, nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  // A later control lies above an earlier one.
  SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return child;
}

int Win32BackEnd::run() {
  if (!main_) return 1;
  focus_when_deactivated_ = input_line_->window();
  ShowWindow(main_, SW_SHOWNORMAL);
  UpdateWindow(main_);
  // The owner, of no size, carries the taskbar button with the icon; shown
  // after the main window, which lies above it.
  ShowWindow(owner_, SW_SHOWNOACTIVATE);
  SetFocus(input_line_->window());
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) dispatch(message);
  return static_cast<int>(message.wParam);
}

void Win32BackEnd::process_pending_events() {
  if (log_panel_) log_panel_->flush_if_due();
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      terminating_ = true;
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    dispatch(message);
  }
}

void Win32BackEnd::dispatch(MSG& message) {
  const bool input = (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) ||
                     (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST);
  if (input && log_panel_) log_panel_->flush();
  if (move_focus_on_tab(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
  if (log_panel_) log_panel_->flush();
}

// Tab and Shift+Tab walk the visible text boxes in tab order, the hidden
// response buffer's native box included.
bool Win32BackEnd::move_focus_on_tab(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || !main_) return false;
  if (message.hwnd != main_ && GetParent(message.hwnd) != main_) return false;
  const auto count = static_cast<int>(children_.size());
  const HWND focus = GetFocus();
  int current = -1;
  for (int i = 0; i < count; ++i)
    if (children_[static_cast<std::size_t>(i)]->window() == focus) current = i;
  const int step = GetKeyState(VK_SHIFT) < 0 ? count - 1 : 1;
  int next = current < 0 ? (step == 1 ? count - 1 : 0) : current;
  for (int tries = 0; tries < count; ++tries) {
    next = (next + step) % count;
    const auto& child = children_[static_cast<std::size_t>(next)];
    if (child->control().visible()) {
      SetFocus(child->window());
      break;
    }
  }
  return true;
}

template <class Handler>
void Win32BackEnd::run_handler(Handler&& handler) {
  ++handler_depth_;
  handler();
  --handler_depth_;
  if (handler_depth_ == 0 && terminating_ && main_) DestroyWindow(main_);
}

void Win32BackEnd::close_requested() {
  if (handler_depth_ > 0) {
    terminating_ = true;
  } else {
    DestroyWindow(main_);
  }
}

bool Win32BackEnd::on_picture_button(LPARAM at) const {
  return picture_button_->hit(POINT{GET_X_LPARAM(at), GET_Y_LPARAM(at)});
}

void Win32BackEnd::mouse_pressed(MouseButton button, bool second_of_double_click, LPARAM at) {
  if (!on_picture_button(at)) return;
  run_handler([&] {
    if (form_->picture_button_pressed(button, second_of_double_click)) SetCapture(main_);
  });
}

void Win32BackEnd::mouse_released(MouseButton button, LPARAM at) {
  const bool inside = on_picture_button(at);
  if (button == MouseButton::Left && GetCapture() == main_) {
    const OwnChange releasing(releasing_capture_);
    ReleaseCapture();
  }
  run_handler([&] { form_->picture_button_released(button, inside); });
}

void Win32BackEnd::paint() {
  PAINTSTRUCT paint_info;
  const HDC dc = BeginPaint(main_, &paint_info);
  picture_button_->paint(dc);
  EndPaint(main_, &paint_info);
}

// The taskbar button's window passes activation and close requests on to
// the main window, or to the message box in front of it.
LRESULT CALLBACK Win32BackEnd::owner_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  const auto* self = reinterpret_cast<Win32BackEnd*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  const HWND main = self ? self->main_ : nullptr;
  if (main && message == WM_ACTIVATE && LOWORD(wparam) != WA_INACTIVE) {
    SetActiveWindow(GetLastActivePopup(main));
    return 0;
  }
  if (main && message == WM_CLOSE) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK Win32BackEnd::window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Win32BackEnd*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->main_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32BackEnd*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self || !self->form_) return DefWindowProcW(window, message, wparam, lparam);
  // No exception may cross back into Windows.
  LRESULT result = 0;
  self->form_->handle_event([&] { result = self->handle_message(window, message, wparam, lparam); });
  return result;
}

LRESULT Win32BackEnd::handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      paint();
      return 0;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wparam) == main_ && LOWORD(lparam) == HTCLIENT) {
        POINT at;
        GetCursorPos(&at);
        ScreenToClient(main_, &at);
        if (picture_button_->hit(at)) {
          SetCursor(LoadCursorW(nullptr, IDC_HAND));
          return TRUE;
        }
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      mouse_pressed(MouseButton::Left, message == WM_LBUTTONDBLCLK, lparam);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      mouse_pressed(MouseButton::Right, message == WM_RBUTTONDBLCLK, lparam);
      return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      mouse_pressed(MouseButton::Middle, message == WM_MBUTTONDBLCLK, lparam);
      return 0;
    case WM_LBUTTONUP:
      mouse_released(MouseButton::Left, lparam);
      return 0;
    case WM_RBUTTONUP:
      mouse_released(MouseButton::Right, lparam);
      return 0;
    case WM_MBUTTONUP:
      mouse_released(MouseButton::Middle, lparam);
      return 0;
    case WM_CAPTURECHANGED:
      if (!releasing_capture_) form_->picture_button_capture_lost();
      return 0;
    case WM_COMMAND:
      for (const auto& child : children_) {
        if (reinterpret_cast<HWND>(lparam) != child->window()) continue;
        if (HIWORD(wparam) == EN_CHANGE && !child->changing_natively()) child->native_text_changed();
        if (HIWORD(wparam) == EN_SETFOCUS) child->focus_taken();
      }
      return 0;
    case WM_CTLCOLOREDIT:
      if (log_panel_ && reinterpret_cast<HWND>(lparam) == log_panel_->window()) {
        const auto dc = reinterpret_cast<HDC>(wparam);
        SetTextColor(dc, log_panel_text_colour);
        SetBkColor(dc, log_panel_colour);
        return reinterpret_cast<LRESULT>(log_panel_brush_);
      }
      break;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lparam) == label_) {
        const auto dc = reinterpret_cast<HDC>(wparam);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && GetParent(focus) == main_) focus_when_deactivated_ = focus;
      } else {
        const bool restore = focus_when_deactivated_ && IsWindowVisible(focus_when_deactivated_);
        SetFocus(restore ? focus_when_deactivated_ : main_);
      }
      return 0;
    case WM_CLOSE:
      close_requested();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      main_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

void Win32BackEnd::show_message(std::u16string_view text) {
  if (log_panel_) log_panel_->flush();
  const std::u16string shown(text);
  MessageBoxW(main_, wide(shown), title_.c_str(), MB_OK);
}

void Win32BackEnd::show_error_report(std::u16string_view text) {
  if (log_panel_) log_panel_->flush();
  const std::u16string shown(text);
  MessageBoxW(main_, wide(shown), title_.c_str(), MB_OK | MB_ICONSTOP);
}

std::optional<std::string> Win32BackEnd::run_save_dialog(SaveDialog& dialog) {
  if (log_panel_) log_panel_->flush();
  namespace settings = save_dialog_settings;
  std::u16string filter = utf16_from_utf8(settings::filter);
  std::replace(filter.begin(), filter.end(), u'|', u'\0');
  filter.push_back(u'\0');
  // The system wants the extension without its dot.
  std::u16string extension = utf16_from_utf8(settings::default_extension);
  if (extension.starts_with(u'.')) extension.erase(0, 1);

  std::u16string name(settings::name_buffer_length, u'\0');
  const std::u16string proposed = from_ansi(dialog.file_name);
  if (proposed.size() < name.size()) std::copy(proposed.begin(), proposed.end(), name.begin());

  OPENFILENAMEW request{};
  request.lStructSize = sizeof(request);
  request.hwndOwner = main_;
  request.lpstrFilter = wide(filter);
  request.nFilterIndex = settings::filter_index;
  request.lpstrFile = reinterpret_cast<wchar_t*>(name.data());
  request.nMaxFile = settings::name_buffer_length;
  request.lpstrDefExt = wide(extension);
  request.Flags = (settings::hide_read_only ? OFN_HIDEREADONLY : 0) | (settings::resizable ? OFN_ENABLESIZING : 0) |
                  (settings::explorer_style ? OFN_EXPLORER : 0) | (settings::overwrite_prompt ? OFN_OVERWRITEPROMPT : 0);
  if (!GetSaveFileNameW(&request)) return std::nullopt;
  name.resize(name.find(u'\0'));
  dialog.file_name = to_ansi(name);
  return dialog.file_name;
}

}  // namespace quorix
