#include "window/click_tracker.h"

namespace quorix {

ClickTracker::Press ClickTracker::press(MouseButton button, bool second_of_double_click) {
  if (button != MouseButton::Left) return {false};
  captured_ = true;
  armed_ = !second_of_double_click;
  return {true};
}

ClickTracker::Release ClickTracker::release(MouseButton button, bool inside_button) {
  if (button != MouseButton::Left || !captured_) return {false, false, inside_button};
  const bool click = armed_ && inside_button;
  captured_ = false;
  armed_ = false;
  return {true, click, true};
}

void ClickTracker::capture_lost() {
  captured_ = false;
  armed_ = false;
}

}  // namespace quorix
