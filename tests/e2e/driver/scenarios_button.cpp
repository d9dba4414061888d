// The picture button in a user's hands: its pictures while held, clicks that
// must not start anything, a double click, its hints, and the whole road.
#include "input.h"
#include "layout.h"
#include "main_window.h"
#include "scenarios.h"
#include "text.h"
#include "user_actions.h"
#include "wait.h"
#include "windows_probe.h"

namespace {

// Long enough for a wrongly started run to show its log panel.
constexpr DWORD settle_ms = 700;

bool run_started(const Program& program)
{
    return wait_until([&] { return shown(log_panel(program)) || find_message_box(program.process_id()); },
                      settle_ms);
}

const char* name_of(MouseButton button)
{
    switch (button) {
    case MouseButton::right: return "right";
    case MouseButton::middle: return "middle";
    default: return "left";
    }
}

// Press on the button, optionally move off it, release: the pressed picture
// while held, the released one after, and no run unless it is a real click.
void press_and_release(Session& session, const Program& program, MouseButton button, bool release_outside)
{
    const std::string what = std::string(name_of(button)) + (release_outside ? " press released outside" : " press");
    mouse_move(program.screen_point(layout::button_centre));
    mouse_down(button);
    session.check(wait_button(program, shows_pressed), what + ": not shown pressed: " + describe(button_look(program)));
    if (button == MouseButton::left && !release_outside)
        session.screenshot_window("Pressed", program.window());
    if (release_outside)
        mouse_move(program.screen_point({layout::button.right + 40, layout::button.bottom + 30}));
    mouse_up(button);
    session.check(wait_button(program, shows_released), what + ": not shown released: " + describe(button_look(program)));
    if (button != MouseButton::left || release_outside)
        session.check(!run_started(program), what + " started a run");
}

bool wait_hint(const Program& program, std::string_view hint_utf8)
{
    const std::wstring expected = wide(hint_utf8);
    return wait_until(
        [&] {
            for (HWND tip : top_level_windows(program.process_id(), L"tooltips_class32"))
                if (text_of(tip) == expected)
                    return true;
            return false;
        },
        5000);
}

std::string visible_hints(const Program& program)
{
    std::string hints;
    for (HWND tip : top_level_windows(program.process_id(), L"tooltips_class32"))
        hints.append(" ").append(quoted(text_of(tip)));
    return hints.empty() ? " none" : hints;
}

void rest_on_button(Session& session, const Program& program, std::string_view hint_utf8)
{
    mouse_move(program.screen_point({layout::button.right + 40, layout::button.bottom + 5}));
    mouse_move(program.screen_point(layout::button_centre));
    session.check(wait_hint(program, hint_utf8),
                  "resting on the button shows no hint " + quoted(wide(hint_utf8)) + "; visible:" +
                      visible_hints(program));
}

} // namespace

void button_in_hand(Session& session)
{
    Program program(session);
    session.check(wait_button(program, shows_released), "at start the button is not shown released: " +
                                                            describe(button_look(program)));
    type_reference(session, program, "2500");
    // The button never takes the focus, so no key reaches it.
    key_press(VK_RETURN);
    session.check(!run_started(program), "Enter in the input line started a run");
    press_and_release(session, program, MouseButton::right, false);
    press_and_release(session, program, MouseButton::middle, false);
    press_and_release(session, program, MouseButton::left, true);
    check_arrangement(session, program, Arrangement::start);

    // The same reference with a real click does start: the checks above were not vacuous.
    press_and_release(session, program, MouseButton::left, false);
    session.check(wait_log_line(program, texts::run_done), "a left click on the button started no run");
}

void double_click_runs_once(Session& session)
{
    Program program(session);
    type_reference(session, program, "2500");
    mouse_double_click(program.screen_point(layout::button_centre));
    if (!wait_log_line(program, texts::run_done))
        session.stop("the double click started no run");
    session.check(!wait_save_dialog(program.process_id(), settle_ms).has_value(),
                  "the double click's second click opened the save dialog");
    session.check_number(log_line_count(program, texts::run_begins), 1, "runs started by a double click");
    session.check_number(log_line_count(program, texts::run_done), 1, "runs finished after a double click");
    check_arrangement(session, program, Arrangement::result_ready);
}

void button_hints(Session& session)
{
    Program program(session);
    rest_on_button(session, program, texts::start_hint);
    run_to_result_ready(session, program, "2500");
    rest_on_button(session, program, texts::save_hint);
}

void new_user_road(Session& session)
{
    Program program(session);
    check_arrangement(session, program, Arrangement::start);
    session.screenshot_window("Start", program.window());

    type_reference(session, program, "https://vk.com/club2500");
    click_button(program);
    session.check(wait_until([&] { return shown(log_panel(program)); }), "the log panel did not show");
    if (!wait_log_line(program, texts::run_done))
        session.stop("the run did not finish");
    session.check(wait_button(program, shows_released), "no save-mode button: " + describe(button_look(program)));
    check_arrangement(session, program, Arrangement::result_ready);
    session.screenshot_window("ResultReady", program.window());

    const std::wstring path = session.work_path("my group.csv");
    const SaveDialogView dialog = open_save_dialog(session, program);
    session.screenshot_screen("SaveDialog");
    session.check_text(proposed_file_name(dialog), "", "file name proposed at the first save");
    session.check_text(chosen_file_type(dialog), "файл-csv", "file type in the save dialog");
    if (!save_as(dialog, path))
        session.stop("the save dialog did not close");
    if (!wait_log_line(program, texts::work_over))
        session.stop("the save did not finish");
    check_file(session, path, "2500");
    check_arrangement(session, program, Arrangement::finished);
    const auto lines = log_lines(program);
    session.check(lines.size() >= 2 && lines[lines.size() - 2] == wide(texts::saved) &&
                      lines.back() == wide(texts::work_over),
                  "the log's last two lines are not the closing messages");
    session.check(!shows_button(button_look(program)), "the button still shows after the save");
    session.screenshot_window("Finished", program.window());

    bring_to_front(program);
    key_chord({VK_MENU, VK_F4});
    const auto exit_code = program.wait_exit(10000);
    if (session.check(exit_code.has_value(), "the program did not end on Alt+F4"))
        session.check_number(*exit_code, 0, "exit code");
}
