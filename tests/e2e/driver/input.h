#pragma once
// Real user input through SendInput: it passes the system's input queue, so
// the program sees exactly what a person's keyboard and mouse would give it.
#include <windows.h>

#include <initializer_list>
#include <string_view>

enum class MouseButton { left, right, middle };

void key_press(WORD virtual_key);
// Presses the keys in order and releases them in reverse, like Alt+F4.
void key_chord(std::initializer_list<WORD> virtual_keys);
void type_text(std::wstring_view text);

void mouse_move(POINT screen_point);
void mouse_down(MouseButton button);
void mouse_up(MouseButton button);
void mouse_click(MouseButton button, POINT screen_point);
void mouse_double_click(POINT screen_point);
