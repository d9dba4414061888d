#include "window/picture.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <utility>

namespace quorix {
namespace {

std::uint32_t read_u32(std::span<const std::uint8_t> file, std::size_t at) {
  return file[at] | (file[at + 1] << 8) | (file[at + 2] << 16) | (static_cast<std::uint32_t>(file[at + 3]) << 24);
}

std::uint16_t read_u16(std::span<const std::uint8_t> file, std::size_t at) {
  return static_cast<std::uint16_t>(file[at] | (file[at + 1] << 8));
}

}  // namespace

Picture::Picture(int width, int height, std::vector<std::uint8_t> bgra)
    : width_(width), height_(height), bgra_(std::move(bgra)) {
  if (width < 0 || height < 0 || bgra_.size() != static_cast<std::size_t>(width) * height * 4)
    throw std::invalid_argument("picture size does not match its pixels");
}

Picture Picture::from_bmp(std::span<const std::uint8_t> file) {
  constexpr std::size_t headers = 54;
  if (file.size() < headers || file[0] != 'B' || file[1] != 'M') throw std::runtime_error("not a BMP file");
  const std::uint32_t pixel_offset = read_u32(file, 10);
  const auto width = static_cast<std::int32_t>(read_u32(file, 18));
  const auto stored_height = static_cast<std::int32_t>(read_u32(file, 22));
  const std::uint16_t bits = read_u16(file, 28);
  const std::uint32_t compression = read_u32(file, 30);
  if (bits != 32 || compression != 0) throw std::runtime_error("BMP is not uncompressed 32-bit");
  if (width <= 0 || stored_height == 0 || width > 0x4000 || stored_height > 0x4000 || stored_height < -0x4000)
    throw std::runtime_error("BMP size out of range");
  const bool bottom_up = stored_height > 0;
  const int height = bottom_up ? stored_height : -stored_height;
  const std::size_t row_bytes = static_cast<std::size_t>(width) * 4;
  if (pixel_offset < headers || pixel_offset > file.size() || file.size() - pixel_offset < row_bytes * height)
    throw std::runtime_error("BMP pixel data is short");
  std::vector<std::uint8_t> bgra(row_bytes * height);
  for (int row = 0; row < height; ++row) {
    const int source_row = bottom_up ? height - 1 - row : row;
    const auto source = file.subspan(pixel_offset + row_bytes * source_row, row_bytes);
    std::copy(source.begin(), source.end(), bgra.begin() + static_cast<std::ptrdiff_t>(row_bytes * row));
  }
  return Picture(width, height, std::move(bgra));
}

std::vector<std::uint8_t> Picture::over_white() const {
  std::vector<std::uint8_t> out(bgra_.size());
  for (std::size_t i = 0; i < bgra_.size(); i += 4) {
    const unsigned alpha = bgra_[i + 3];
    for (std::size_t c = 0; c < 3; ++c)
      out[i + c] = static_cast<std::uint8_t>((bgra_[i + c] * alpha + 255u * (255u - alpha) + 127u) / 255u);
    out[i + 3] = 255;
  }
  return out;
}

}  // namespace quorix
