#include "session.h"

#include "screen.h"
#include "text.h"
#include "wait.h"

#include <algorithm>

#include <cstdio>

std::wstring Session::work_path(std::string_view name) const
{
    return options_.work_dir + L"\\" + wide(name);
}

bool Session::check(bool ok, const std::string& what)
{
    if (!ok) {
        ++failures_;
        std::fprintf(stderr, "FAILED: %s\n", what.c_str());
    }
    return ok;
}

bool Session::check_text(std::wstring_view got, std::string_view expected_utf8, const std::string& what)
{
    const std::wstring expected = wide(expected_utf8);
    return check(got == expected, what + ": got " + quoted(got) + ", expected " + quoted(expected));
}

bool Session::check_number(long long got, long long expected, const std::string& what)
{
    return check(got == expected, what + ": got " + std::to_string(got) + ", expected " + std::to_string(expected));
}

void Session::stop(const std::string& why)
{
    ++failures_;
    throw ScenarioStopped(why);
}

void Session::screenshot(std::string_view arrangement, const RECT& screen_rect)
{
    const std::wstring path =
        options_.shot_dir + L"\\" + wide(options_.label) + L"-" + wide(arrangement) + L".png";
    // A window that has just appeared may still be painting: wait until the
    // picture holds more than one colour and stays the same for a moment.
    auto same = [](const Picture& a, const Picture& b) {
        return a.width == b.width && a.height == b.height &&
               std::equal(a.pixels.begin(), a.pixels.end(), b.pixels.begin(), [](Rgb x, Rgb y) {
                   return x.red == y.red && x.green == y.green && x.blue == y.blue;
               });
    };
    Picture picture = capture_screen(screen_rect);
    wait_until(
        [&] {
            Sleep(150);
            Picture later = capture_screen(screen_rect);
            const bool settled = same(picture, later) && !picture.pixels.empty() &&
                                 std::any_of(picture.pixels.begin(), picture.pixels.end(), [&](Rgb pixel) {
                                     return !same({1, 1, {pixel}}, {1, 1, {picture.pixels.front()}});
                                 });
            picture = std::move(later);
            return settled;
        },
        4000);
    check(save_png(picture, path), "screenshot " + utf8(path) + " could not be written");
}

void Session::screenshot_window(std::string_view arrangement, HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    screenshot(arrangement, rect);
}

void Session::screenshot_screen(std::string_view arrangement)
{
    screenshot(arrangement, {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}
