#pragma once
// Turns the picture button's mouse presses and releases into its steps: a
// left press captures the mouse and arms a click, a left release inside the
// button clicks; other buttons never capture nor click, and the second press
// of a double click does not arm.
namespace quorix {

enum class MouseButton { Left, Right, Middle };

class ClickTracker {
 public:
  struct Press {
    bool capture_mouse;
  };
  struct Release {
    bool release_capture;
    bool click;
    bool release_step;
  };

  // A press on the button.
  Press press(MouseButton button, bool second_of_double_click);
  // A release anywhere while captured, or over the button otherwise.
  Release release(MouseButton button, bool inside_button);
  // The capture was taken away (another window, a system dialog).
  void capture_lost();

 private:
  bool captured_ = false;
  bool armed_ = false;
};

}  // namespace quorix
