#pragma once
// A minimal PNG writer: 8-bit RGB, no filtering, stored deflate blocks. Big
// files, but no compression library is needed for a screenshot.
#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    std::uint8_t red, green, blue;
};

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels; // rows top to bottom

    Rgb at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

std::vector<std::uint8_t> png_bytes(const Picture& picture);
bool save_png(const Picture& picture, const std::wstring& path);
