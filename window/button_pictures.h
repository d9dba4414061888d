#pragma once
// The picture button's four pictures, baked into the program as BMP files
// from resources/ at build time.
#include <cstdint>
#include <span>

namespace quorix {

std::span<const std::uint8_t> start_pressed_bmp();
std::span<const std::uint8_t> start_released_bmp();
std::span<const std::uint8_t> save_released_bmp();
std::span<const std::uint8_t> save_pressed_bmp();

}  // namespace quorix
