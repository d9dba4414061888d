#include "input.h"

#include <vector>

namespace {

INPUT key_input(WORD virtual_key, DWORD flags)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtual_key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    return input;
}

INPUT mouse_input(DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

void send(std::vector<INPUT> inputs)
{
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

DWORD down_flag(MouseButton button)
{
    switch (button) {
    case MouseButton::right: return MOUSEEVENTF_RIGHTDOWN;
    case MouseButton::middle: return MOUSEEVENTF_MIDDLEDOWN;
    default: return MOUSEEVENTF_LEFTDOWN;
    }
}

DWORD up_flag(MouseButton button)
{
    switch (button) {
    case MouseButton::right: return MOUSEEVENTF_RIGHTUP;
    case MouseButton::middle: return MOUSEEVENTF_MIDDLEUP;
    default: return MOUSEEVENTF_LEFTUP;
    }
}

// Absolute mouse coordinates run from 0 to 65535 across the primary screen;
// rounding up lands exactly on the wanted pixel.
LONG absolute(LONG pixel, int screen_size)
{
    return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + screen_size - 1) / screen_size);
}

} // namespace

void key_press(WORD virtual_key)
{
    send({key_input(virtual_key, 0), key_input(virtual_key, KEYEVENTF_KEYUP)});
}

void key_chord(std::initializer_list<WORD> virtual_keys)
{
    std::vector<INPUT> inputs;
    for (WORD key : virtual_keys)
        inputs.push_back(key_input(key, 0));
    for (auto key = std::rbegin(virtual_keys); key != std::rend(virtual_keys); ++key)
        inputs.push_back(key_input(*key, KEYEVENTF_KEYUP));
    send(inputs);
}

void type_text(std::wstring_view text)
{
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wScan = c;
        input.ki.dwFlags = KEYEVENTF_UNICODE;
        inputs.push_back(input);
        input.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    send(inputs);
}

void mouse_move(POINT screen_point)
{
    INPUT input = mouse_input(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE);
    input.mi.dx = absolute(screen_point.x, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = absolute(screen_point.y, GetSystemMetrics(SM_CYSCREEN));
    send({input});
}

void mouse_down(MouseButton button)
{
    send({mouse_input(down_flag(button))});
}

void mouse_up(MouseButton button)
{
    send({mouse_input(up_flag(button))});
}

void mouse_click(MouseButton button, POINT screen_point)
{
    mouse_move(screen_point);
    send({mouse_input(down_flag(button)), mouse_input(up_flag(button))});
}

void mouse_double_click(POINT screen_point)
{
    mouse_move(screen_point);
    const INPUT down = mouse_input(MOUSEEVENTF_LEFTDOWN);
    const INPUT up = mouse_input(MOUSEEVENTF_LEFTUP);
    send({down, up, down, up});
}
