#include "user_actions.h"

#include "input.h"
#include "layout.h"
#include "main_window.h"
#include "text.h"
#include "wait.h"
#include "windows_probe.h"

#include <fstream>
#include <sstream>

void bring_to_front(const Program& program)
{
    SetForegroundWindow(program.window());
    wait_until([&] { return GetForegroundWindow() == program.window(); }, 2000);
}

void type_reference(Session& session, const Program& program, std::string_view reference_utf8)
{
    const auto input = edit1(program);
    if (!input)
        session.stop("no input line to type into");
    bring_to_front(program);
    if (!wait_until([&] { return focus_of(program.window()) == input; }, 3000))
        session.stop("the input line does not have the focus");
    type_text(wide(reference_utf8));
    const std::wstring expected = wide(reference_utf8);
    if (!wait_until([&] { return text_of(*input) == expected; }, 3000))
        session.stop("typing gave " + quoted(text_of(*input)) + " in the input line, expected " + quoted(expected));
}

void click_button(const Program& program)
{
    // A press soon after the last one on the same spot is the second half of
    // a double click, which starts nothing: wait as a user's pause would.
    static ULONGLONG last_click = 0;
    const ULONGLONG due = last_click + GetDoubleClickTime() + 50;
    if (GetTickCount64() < due)
        Sleep(static_cast<DWORD>(due - GetTickCount64()));
    mouse_click(MouseButton::left, program.screen_point(layout::button_centre));
    last_click = GetTickCount64();
}

void run_to_result_ready(Session& session, const Program& program, std::string_view reference_utf8)
{
    type_reference(session, program, reference_utf8);
    click_button(program);
    if (!wait_log_line(program, texts::run_done))
        session.stop("the run did not finish; the log holds " + std::to_string(log_lines(program).size()) +
                     " lines");
    if (!wait_button(program, shows_released))
        session.stop("the save-mode button did not appear: " + describe(button_look(program)));
}

SaveDialogView open_save_dialog(Session& session, const Program& program)
{
    click_button(program);
    const auto dialog = wait_save_dialog(program.process_id());
    if (!dialog)
        session.stop("no save dialog after a click in save mode");
    return *dialog;
}

MessageBoxView expect_message_box(Session& session, const Program& program)
{
    const auto box = wait_message_box(program.process_id());
    if (!box)
        session.stop("no message box appeared");
    session.check_text(box->caption, "Quorix", "message box caption");
    return *box;
}

std::string read_file_bytes(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void write_file_bytes(const std::wstring& path, std::string_view bytes)
{
    std::ofstream file(path.c_str(), std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

namespace {

// The stand-in writes its expectation in Windows-1251; under another ANSI
// code page the program writes the same text in that one, with its best fit.
std::string in_ansi_code_page(const std::string& cp1251)
{
    if (GetACP() == 1251 || cp1251.empty())
        return cp1251;
    const int size = static_cast<int>(cp1251.size());
    std::wstring text(cp1251.size(), L'\0');
    text.resize(static_cast<size_t>(MultiByteToWideChar(1251, 0, cp1251.data(), size, text.data(), size)));
    const int wide_size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), wide_size, nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), wide_size, converted.data(), length, nullptr, nullptr);
    return converted;
}

} // namespace

std::string expected_result(Session& session, std::string_view group)
{
    const std::wstring path = session.work_path("expect-" + std::string(group) + ".csv");
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        session.stop("no expected result " + utf8(path) + " (run.sh --expect " + std::string(group) + ")");
    return in_ansi_code_page(read_file_bytes(path));
}

void check_file(Session& session, const std::wstring& path, std::string_view group)
{
    const std::string expected = expected_result(session, group);
    const std::string got = read_file_bytes(path);
    if (got == expected)
        return;
    size_t first_difference = 0;
    while (first_difference < got.size() && first_difference < expected.size() &&
           got[first_difference] == expected[first_difference])
        ++first_difference;
    session.check(false, utf8(path) + ": got " + std::to_string(got.size()) + " bytes, expected " +
                             std::to_string(expected.size()) + "; first difference at byte " +
                             std::to_string(first_difference));
}
