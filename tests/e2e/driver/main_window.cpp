#include "main_window.h"

#include "layout.h"
#include "screen.h"
#include "text.h"
#include "wait.h"
#include "windows_probe.h"

#include <algorithm>

std::optional<HWND> label1(const Program& program)
{
    return child_at(program.window(), L"Static", layout::label1);
}

std::optional<HWND> edit1(const Program& program)
{
    return child_at(program.window(), L"Edit", layout::edit1);
}

std::optional<HWND> memo1(const Program& program)
{
    return child_at(program.window(), L"Edit", layout::memo1);
}

std::optional<HWND> log_panel(const Program& program)
{
    return child_at_top(program.window(), L"Edit", layout::log_left, layout::log_top, layout::log_width);
}

bool shown(const std::optional<HWND>& control)
{
    return control && IsWindowVisible(*control);
}

std::vector<std::wstring> log_lines(const Program& program)
{
    const auto panel = log_panel(program);
    if (!panel)
        return {};
    const std::wstring text = text_of(*panel);
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

long long log_line_count(const Program& program, std::string_view line_utf8)
{
    const auto lines = log_lines(program);
    return std::count(lines.begin(), lines.end(), wide(line_utf8));
}

bool log_has_line(const Program& program, std::string_view line_utf8)
{
    return log_line_count(program, line_utf8) > 0;
}

bool wait_log_line(const Program& program, std::string_view line_utf8, DWORD timeout_ms)
{
    return wait_until([&] { return log_has_line(program, line_utf8); }, timeout_ms);
}

namespace {

constexpr Rgb white{255, 255, 255};
constexpr Rgb grey{128, 128, 128};

const char* name_of(Arrangement arrangement)
{
    switch (arrangement) {
    case Arrangement::start: return "Start";
    case Arrangement::running: return "Running";
    case Arrangement::result_ready: return "Result ready";
    default: return "Finished";
    }
}

bool same_colour(Rgb got, Rgb expected)
{
    return got.red == expected.red && got.green == expected.green && got.blue == expected.blue;
}

std::string describe(Rgb colour)
{
    return "RGB(" + std::to_string(colour.red) + ", " + std::to_string(colour.green) + ", " +
           std::to_string(colour.blue) + ")";
}

// A point of the window's own white surface, or one of the log panel's grey
// face that no text reaches; a dialog that just closed may still show there.
void check_colour(Session& session, const Program& program, POINT client_point, Rgb expected, const std::string& what)
{
    const POINT point = program.screen_point(client_point);
    Rgb got{};
    const bool ok = wait_until([&] { return same_colour(got = screen_pixel(point), expected); }, 3000);
    session.check(ok, what + ": got " + describe(got) + ", expected " + describe(expected));
}

} // namespace

void check_arrangement(Session& session, const Program& program, Arrangement expected)
{
    const std::string where = std::string(" in the ") + name_of(expected) + " arrangement";
    const bool at_start = expected == Arrangement::start;
    session.check(shown(label1(program)) == at_start, std::string("prompt ") + (at_start ? "hidden" : "shown") + where);
    session.check(shown(edit1(program)) == at_start,
                  std::string("input line ") + (at_start ? "hidden" : "shown") + where);
    const auto panel = log_panel(program);
    if (at_start) {
        session.check(!shown(panel), "log panel shown" + where);
        check_colour(session, program, {10, 104}, white, "window colour" + where);
        session.check(wait_button(program, shows_button), "picture button not drawn" + where);
        return;
    }
    if (!session.check(shown(panel), "log panel hidden" + where))
        return;
    RECT rect{};
    GetWindowRect(*panel, &rect);
    const int expected_height = expected == Arrangement::result_ready ? layout::log_short : layout::log_tall;
    session.check_number(height_of(rect), expected_height, "log panel height" + where);
    check_colour(session, program, {layout::log_left + layout::log_width - 4, layout::log_top + expected_height - 6},
                 grey, "log panel colour" + where);
    if (expected == Arrangement::result_ready)
        session.check(wait_button(program, shows_button), "picture button not drawn below the log" + where);
}

namespace {

bool is_red(Rgb pixel) { return pixel.red >= 170 && pixel.green <= 90 && pixel.blue <= 90; }
bool is_white(Rgb pixel) { return pixel.red >= 225 && pixel.green >= 225 && pixel.blue >= 225; }
bool is_face_blue(Rgb pixel) { return pixel.blue >= 120 && pixel.blue > pixel.red + 40; }

} // namespace

ButtonLook button_look(const Program& program)
{
    const POINT origin = program.screen_point({layout::button.left, layout::button.top});
    const Picture picture = capture_screen(
        {origin.x, origin.y, origin.x + width_of(layout::button), origin.y + height_of(layout::button)});
    ButtonLook look;
    if (picture.pixels.empty())
        return look;
    for (int y = layout::lettering.top; y < layout::lettering.bottom; ++y)
        for (int x = layout::lettering.left; x < layout::lettering.right; ++x) {
            look.red_lettering += is_red(picture.at(x, y));
            look.white_lettering += is_white(picture.at(x, y));
        }
    for (int y = 8; y < 34; ++y)
        for (int x = 117; x < 120; ++x)
            look.face += is_face_blue(picture.at(x, y));
    return look;
}

// The word has hundreds of pixels; a few dozen of a colour are a clear sign.
// The face must be there too: the white window alone is no released button.
bool shows_button(const ButtonLook& look) { return look.face >= 40; }
bool shows_pressed(const ButtonLook& look)
{
    return shows_button(look) && look.red_lettering >= 30 && look.white_lettering < 10;
}
bool shows_released(const ButtonLook& look)
{
    return shows_button(look) && look.white_lettering >= 30 && look.red_lettering < 10;
}

bool wait_button(const Program& program, bool (*state)(const ButtonLook&), DWORD timeout_ms)
{
    return wait_until([&] { return state(button_look(program)); }, timeout_ms);
}

std::string describe(const ButtonLook& look)
{
    return std::to_string(look.red_lettering) + " red and " + std::to_string(look.white_lettering) +
           " white lettering pixels, " + std::to_string(look.face) + " face pixels";
}
