// The window as it comes up, the focus cycle, and a clean close.
#include "input.h"
#include "layout.h"
#include "main_window.h"
#include "scenarios.h"
#include "text.h"
#include "user_actions.h"
#include "wait.h"
#include "windows_probe.h"

namespace {

void check_frame(Session& session, const Program& program)
{
    const HWND window = program.window();
    session.check_text(text_of(window), "Quorix", "window caption");
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    struct Forbidden {
        LONG bit;
        const char* name;
    };
    for (const Forbidden& forbidden : {Forbidden{WS_MINIMIZEBOX, "minimise box"}, {WS_MAXIMIZEBOX, "maximise box"},
                                       {WS_THICKFRAME, "sizing frame"}, {WS_VSCROLL, "vertical scroll bar"},
                                       {WS_HSCROLL, "horizontal scroll bar"}})
        session.check((style & forbidden.bit) == 0, std::string("the window has a ") + forbidden.name);
    session.check((style & WS_SYSMENU) != 0, "the window has no close button");
    const RECT client = client_rect_of(window);
    session.check(width_of(client) == layout::client_width && height_of(client) == layout::client_height,
                  "client area " + describe(client) + ", expected 282x110");
}

void check_controls(Session& session, const Program& program)
{
    struct Expected {
        const char* name;
        std::optional<HWND> found;
        RECT rect;
        const char* class_name;
        std::string_view text;
    };
    const Expected controls[] = {
        {"Label1", label1(program), layout::label1, "STATIC", texts::prompt},
        {"Edit1", edit1(program), layout::edit1, "EDIT", ""},
        {"Memo1", memo1(program), layout::memo1, "EDIT", ""},
    };
    for (const Expected& control : controls) {
        if (!session.check(control.found.has_value(), std::string("no ") + control.class_name + " for " +
                                                          control.name + " at " + describe(control.rect)))
            continue;
        session.check(IsWindowVisible(*control.found), std::string(control.name) + " is hidden");
        session.check_text(text_of(*control.found), control.text, std::string(control.name) + " text");
    }
    session.check(!shown(log_panel(program)), "the log panel shows at start");
}

bool wait_focus(const Program& program, const std::optional<HWND>& control)
{
    return control && wait_until([&] { return focus_of(program.window()) == control; }, 3000);
}

void check_focus_cycle(Session& session, const Program& program)
{
    bring_to_front(program);
    if (!session.check(wait_focus(program, edit1(program)), "the focus is not in the input line at start"))
        return;
    key_press(VK_TAB);
    session.check(wait_focus(program, memo1(program)), "Tab did not move the focus into the response buffer");
    if (const auto buffer = memo1(program))
        session.check_text(text_of(*buffer), "", "response buffer after Tab");
    key_press(VK_TAB);
    session.check(wait_focus(program, edit1(program)), "a second Tab did not bring the focus back to the input line");
}

void close_window(const Program& program, const std::wstring& how)
{
    if (how == L"wm-close") {
        PostMessageW(program.window(), WM_CLOSE, 0, 0);
        return;
    }
    bring_to_front(program);
    key_chord({VK_MENU, VK_F4});
}

} // namespace

// Argument: how to close, "alt-f4" (the default) or "wm-close".
void start_arrangement(Session& session)
{
    Program program(session);
    check_frame(session, program);
    check_controls(session, program);
    check_arrangement(session, program, Arrangement::start);
    check_focus_cycle(session, program);
    session.screenshot_window("Start", program.window());

    close_window(program, session.options().argument);
    const auto exit_code = program.wait_exit(10000);
    if (session.check(exit_code.has_value(), "the program did not end after the window was closed"))
        session.check_number(*exit_code, 0, "exit code");
}
