#pragma once
// Where the main window's controls sit, in client coordinates.
#include <windows.h>

namespace layout {

constexpr int client_width = 282;
constexpr int client_height = 110;

constexpr RECT label1{0, 8, 282, 21};
constexpr RECT edit1{2, 26, 280, 47};
constexpr RECT memo1{744, 56, 1225, 521};

constexpr int log_left = 2;
constexpr int log_top = 2;
constexpr int log_width = 278;
constexpr int log_tall = 106;
constexpr int log_short = 50;

// The picture button is drawn on the window's own surface, not a child.
constexpr RECT button{80, 56, 202, 98};
constexpr POINT button_centre{141, 77};
// The word on the button, in the button's own coordinates.
constexpr RECT lettering{39, 11, 118, 30};

} // namespace layout
