#include "window/controls.h"

namespace quorix {
namespace {

constexpr std::u16string_view line_break = u"\r\n";

int count_line_breaks(std::string_view text) {
  int count = 0;
  for (auto at = text.find("\r\n"); at != std::string_view::npos; at = text.find("\r\n", at + 2)) ++count;
  return count;
}

}  // namespace

void Control::set_visible(bool visible) {
  visible_ = visible;
  if (peer_) peer_->visible_changed();
}

void Control::set_height(int height) {
  bounds_.height = height;
  if (peer_) peer_->bounds_changed();
}

void Control::set_size(int width, int height) {
  bounds_.width = width;
  bounds_.height = height;
  if (peer_) peer_->bounds_changed();
}

void Edit::set_text(std::u16string text) {
  text_ = std::move(text);
  if (peer_) peer_->text_changed();
}

void Memo::append_line(std::u16string_view line) {
  std::u16string inserted;
  if (text_.empty() || text_.ends_with(line_break)) {
    inserted.append(line).append(line_break);
  } else {
    inserted.append(line_break).append(line);
  }
  text_ += inserted;
  if (peer_) peer_->text_appended(inserted);
}

void Memo::clear() {
  text_.clear();
  if (peer_) peer_->text_changed();
}

void Memo::scroll_one_line() {
  if (peer_) peer_->scroll_one_line();
}

void PageMemo::set_text(std::string text) {
  text_ = std::move(text);
  if (peer_) peer_->text_changed();
}

void LineList::append_line(std::string_view line) {
  const auto start = text_.size();
  text_.append(line).append("\r\n");
  line_count_ += count_line_breaks(std::string_view(text_).substr(start));
}

void LineList::clear() {
  text_.clear();
  line_count_ = 0;
}

void Image::set_picture(const Picture& picture) {
  picture_ = picture;
  if (peer_) peer_->picture_changed();
  set_size(picture_.width(), picture_.height());
}

void Image::set_hint(std::u16string hint) {
  hint_ = std::move(hint);
  if (peer_) peer_->hint_changed();
}

void Image::repaint() {
  if (peer_) peer_->repaint();
}

}  // namespace quorix
