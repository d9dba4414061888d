#include "windows_probe.h"

#include <cwchar>

std::wstring class_name_of(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring text_of(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied);
    return text;
}

int width_of(const RECT& rect) { return rect.right - rect.left; }
int height_of(const RECT& rect) { return rect.bottom - rect.top; }

std::string describe(const RECT& rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " + std::to_string(width_of(rect)) +
           "x" + std::to_string(height_of(rect));
}

namespace {

struct ChildSearch {
    HWND parent;
    std::vector<ChildWindow> found;
};

BOOL CALLBACK collect_child(HWND child, LPARAM context)
{
    auto& search = *reinterpret_cast<ChildSearch*>(context);
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, search.parent, reinterpret_cast<POINT*>(&rect), 2);
    search.found.push_back({child, class_name_of(child), rect, GetDlgCtrlID(child)});
    return TRUE;
}

struct TopLevelSearch {
    DWORD process_id;
    std::wstring_view class_name;
    std::vector<HWND> found;
};

BOOL CALLBACK collect_top_level(HWND window, LPARAM context)
{
    auto& search = *reinterpret_cast<TopLevelSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.process_id && IsWindowVisible(window) &&
        (search.class_name.empty() || _wcsicmp(class_name_of(window).c_str(), std::wstring(search.class_name).c_str()) == 0))
        search.found.push_back(window);
    return TRUE;
}

bool same_class(const ChildWindow& child, std::wstring_view class_name)
{
    return _wcsicmp(child.class_name.c_str(), std::wstring(class_name).c_str()) == 0;
}

} // namespace

std::vector<ChildWindow> children_of(HWND parent)
{
    ChildSearch search{parent, {}};
    EnumChildWindows(parent, collect_child, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::optional<HWND> child_at(HWND parent, std::wstring_view class_name, RECT rect)
{
    for (const ChildWindow& child : children_of(parent))
        if (same_class(child, class_name) && EqualRect(&child.rect, &rect))
            return child.handle;
    return std::nullopt;
}

std::optional<HWND> child_at_top(HWND parent, std::wstring_view class_name, int left, int top, int width)
{
    for (const ChildWindow& child : children_of(parent))
        if (same_class(child, class_name) && child.rect.left == left && child.rect.top == top &&
            width_of(child.rect) == width)
            return child.handle;
    return std::nullopt;
}

std::optional<HWND> descendant_with_id(HWND parent, int id)
{
    for (const ChildWindow& child : children_of(parent))
        if (child.id == id)
            return child.handle;
    return std::nullopt;
}

std::vector<HWND> top_level_windows(DWORD process_id, std::wstring_view class_name)
{
    TopLevelSearch search{process_id, class_name, {}};
    EnumWindows(collect_top_level, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT client_rect_of(HWND window)
{
    RECT rect{};
    GetClientRect(window, &rect);
    return rect;
}

POINT client_to_screen(HWND window, POINT client_point)
{
    ClientToScreen(window, &client_point);
    return client_point;
}

std::optional<HWND> focus_of(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndFocus)
        return std::nullopt;
    return info.hwndFocus;
}
