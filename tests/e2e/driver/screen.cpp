#include "screen.h"

Picture capture_screen(const RECT& screen_rect)
{
    Picture picture;
    picture.width = screen_rect.right - screen_rect.left;
    picture.height = screen_rect.bottom - screen_rect.top;
    if (picture.width <= 0 || picture.height <= 0)
        return {};

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, picture.width, picture.height, screen, screen_rect.left, screen_rect.top, SRCCOPY);
    GdiFlush();

    const auto* bgrx = static_cast<const unsigned char*>(bits);
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    for (size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] = {bgrx[4 * i + 2], bgrx[4 * i + 1], bgrx[4 * i]};

    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

Picture capture_whole_screen()
{
    return capture_screen({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

Rgb screen_pixel(POINT screen_point)
{
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, screen_point.x, screen_point.y);
    ReleaseDC(nullptr, screen);
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}
