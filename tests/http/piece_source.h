#pragma once
// Serves fixed bytes a few at a time; at the end it either ends or stalls.
#include <algorithm>
#include <cstring>
#include <string>

#include "extraction/http_answer_reader.h"

namespace quorix::testing {

class PieceSource : public ByteSource {
 public:
  enum class AtEnd { close, stall };

  PieceSource(std::string bytes, std::size_t piece, AtEnd at_end = AtEnd::close)
      : bytes_(std::move(bytes)), piece_(piece), at_end_(at_end) {}

  std::ptrdiff_t receive(char* buffer, std::size_t size, std::chrono::milliseconds) override {
    ++receives_;
    if (at_ == bytes_.size()) return at_end_ == AtEnd::close ? 0 : -1;
    const std::size_t take = std::min({size, piece_, bytes_.size() - at_});
    std::memcpy(buffer, bytes_.data() + at_, take);
    at_ += take;
    return static_cast<std::ptrdiff_t>(take);
  }

  std::size_t unread() const { return bytes_.size() - at_; }
  int receives() const { return receives_; }

 private:
  std::string bytes_;
  std::size_t piece_;
  AtEnd at_end_;
  std::size_t at_ = 0;
  int receives_ = 0;
};

}  // namespace quorix::testing
