#pragma once
// Reading another process's windows the way automation tools do: class names,
// rectangles, texts, visibility, styles and the keyboard focus.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

struct ChildWindow {
    HWND handle;
    std::wstring class_name;
    RECT rect; // in the parent's client coordinates
    int id;
};

std::wstring class_name_of(HWND window);
std::wstring text_of(HWND window);
int width_of(const RECT& rect);
int height_of(const RECT& rect);
std::string describe(const RECT& rect); // "x,y WxH"

// All descendants of a window, with rectangles relative to its client area.
std::vector<ChildWindow> children_of(HWND parent);
// The child of that class whose rectangle is exactly left, top, width x height.
std::optional<HWND> child_at(HWND parent, std::wstring_view class_name, RECT rect);
// The child of that class whose left, top and width match, whatever its height.
std::optional<HWND> child_at_top(HWND parent, std::wstring_view class_name, int left, int top, int width);
std::optional<HWND> descendant_with_id(HWND parent, int id);

// Visible top-level windows of a process, optionally only of one class.
std::vector<HWND> top_level_windows(DWORD process_id, std::wstring_view class_name = {});

RECT client_rect_of(HWND window);
POINT client_to_screen(HWND window, POINT client_point);
std::optional<HWND> focus_of(HWND window); // the focus on that window's thread
