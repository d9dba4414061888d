#pragma once
// The window's controls as small portable objects: they hold the properties
// the program uses, and tell their back end's peer of every change.
#include <string>
#include <string_view>
#include <utility>

#include "window/picture.h"

namespace quorix {

struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Bounds&, const Bounds&) = default;
};

// A back end's side of one control. Every notice comes after the property
// has changed; a peer that needs none of them keeps the empty default.
class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  virtual void visible_changed() {}
  virtual void bounds_changed() {}
  virtual void text_changed() {}
  virtual void text_appended(std::u16string_view /*inserted*/) {}
  virtual void scroll_one_line() {}
  virtual void picture_changed() {}
  virtual void hint_changed() {}
  virtual void repaint() {}
};

class Control {
 public:
  Control(Bounds bounds, bool visible) : bounds_(bounds), visible_(visible) {}
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  bool visible() const { return visible_; }
  void set_visible(bool visible);
  const Bounds& bounds() const { return bounds_; }
  void set_height(int height);
  void set_peer(ControlPeer* peer) { peer_ = peer; }

 protected:
  void set_size(int width, int height);
  ControlPeer* peer_ = nullptr;

 private:
  Bounds bounds_;
  bool visible_;
};

// A fixed caption drawn by the window.
class Label : public Control {
 public:
  Label(Bounds bounds, std::u16string caption) : Control(bounds, true), caption_(std::move(caption)) {}
  const std::u16string& caption() const { return caption_; }

 private:
  std::u16string caption_;
};

// A single-line input; the user's typing reaches it through take_user_text.
class Edit : public Control {
 public:
  using Control::Control;
  const std::u16string& text() const { return text_; }
  void set_text(std::u16string text);
  void take_user_text(std::u16string text) { text_ = std::move(text); }

 private:
  std::u16string text_;
};

// A multi-line box the user sees and may type into (the log panel).
class Memo : public Control {
 public:
  using Control::Control;
  const std::u16string& text() const { return text_; }
  // A line after a last line without a line break starts on a new line and
  // gets no line break of its own; otherwise the line ends with CR LF.
  void append_line(std::u16string_view line);
  void clear();
  void scroll_one_line();
  void take_user_text(std::u16string text) { text_ = std::move(text); }

 private:
  std::u16string text_;
};

// A multi-line box whose text, ANSI bytes, lives here; its peer brings the
// native box up to date only when someone could see or reach it.
class PageMemo : public Control {
 public:
  using Control::Control;
  const std::string& text() const { return text_; }
  void set_text(std::string text);
  void take_user_text(std::string text) { text_ = std::move(text); }

 private:
  std::string text_;
};

// A list of ANSI lines, each followed by CR LF, that is never shown.
class LineList : public Control {
 public:
  using Control::Control;
  const std::string& text() const { return text_; }
  int line_count() const { return line_count_; }
  void append_line(std::string_view line);
  void clear();

 private:
  std::string text_;
  int line_count_ = 0;
};

// A picture on the window's surface; Tag and Hint serve the picture button.
class Image : public Control {
 public:
  using Control::Control;
  const Picture& picture() const { return picture_; }
  // The image takes the picture's size.
  void set_picture(const Picture& picture);
  int tag() const { return tag_; }
  void set_tag(int tag) { tag_ = tag; }
  const std::u16string& hint() const { return hint_; }
  void set_hint(std::u16string hint);
  // Draws the image again at once, not at the next paint.
  void repaint();

 private:
  Picture picture_;
  int tag_ = 0;
  std::u16string hint_;
};

// A push button that is never shown; only its click action matters.
class Button : public Control {
 public:
  using Control::Control;
};

// The save dialog's memory: the full path last chosen (ANSI), proposed at
// the next opening.
struct SaveDialog {
  std::string file_name;
};

}  // namespace quorix
