#pragma once
// What is on the screen, read back from the screen's device context.
#include "png.h"

#include <windows.h>

Picture capture_screen(const RECT& screen_rect);
Picture capture_whole_screen();
Rgb screen_pixel(POINT screen_point);
