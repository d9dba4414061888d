#pragma once
// A 32-bit picture with straight (not premultiplied) alpha, pixels in the
// byte order blue, green, red, alpha, rows top-down.
#include <cstdint>
#include <span>
#include <vector>

namespace quorix {

class Picture {
 public:
  Picture() = default;
  Picture(int width, int height, std::vector<std::uint8_t> bgra);

  // Reads an uncompressed 32-bit BMP file (rows bottom-up or top-down);
  // throws std::runtime_error on anything else.
  static Picture from_bmp(std::span<const std::uint8_t> file);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return bgra_.empty(); }
  const std::vector<std::uint8_t>& bgra() const { return bgra_; }

  // Every pixel mixed by its alpha over a white background; the result is
  // opaque, ready to be copied onto the white window.
  std::vector<std::uint8_t> over_white() const;

  friend bool operator==(const Picture&, const Picture&) = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> bgra_;
};

}  // namespace quorix
