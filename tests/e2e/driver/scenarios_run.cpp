// From a typed reference to the result file, and every way that road can end
// early: a wrong group, no server, a failed later page, a file that cannot be
// written.
#include "layout.h"
#include "main_window.h"
#include "scenarios.h"
#include "text.h"
#include "user_actions.h"
#include "wait.h"
#include "windows_probe.h"

#include <windows.h>

namespace {

constexpr std::string_view full_group = "2500";

void check_wrong_reference_message(Session& session, const Program& program, WORD answer_key)
{
    const MessageBoxView box = expect_message_box(session, program);
    session.check_text(box.text, texts::wrong_reference, "message text");
    session.check(!box.has_icon, "the message shows an icon");
    session.check(answer_with_key(box.window, answer_key), "the message did not close on a key press");
}

void check_error_report(Session& session, const Program& program, const std::wstring& expected_text)
{
    const MessageBoxView box = expect_message_box(session, program);
    session.check(box.text == expected_text,
                  "error report text: got " + quoted(box.text) + ", expected " + quoted(expected_text));
    session.check(box.has_icon, "the error report shows no stop icon");
    session.check(answer_ok(box.window), "the error report did not close on OK");
}

// What the error report says when the result file cannot be created.
std::wstring create_error_text(const std::wstring& path, DWORD error)
{
    wchar_t full_path[MAX_PATH] = {};
    GetFullPathNameW(path.c_str(), MAX_PATH, full_path, nullptr);
    wchar_t* system_text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&system_text), 0, nullptr);
    std::wstring reason = system_text ? system_text : L"";
    LocalFree(system_text);
    while (!reason.empty() && (reason.back() <= L' ' || reason.back() == L'.'))
        reason.pop_back();
    std::wstring text = L"Cannot create file \"" + std::wstring(full_path) + L"\". " + reason;
    if (text.back() > L'.')
        text += L'.';
    return text;
}

void check_save_mode_kept(Session& session, const Program& program)
{
    check_arrangement(session, program, Arrangement::result_ready);
    session.check(!log_has_line(program, texts::saved), "the log says the results were saved");
    session.check(wait_button(program, shows_pressed),
                  "after a failed save the button should still look pressed: " + describe(button_look(program)));
}

// Saves a finished run to the path and checks the file against the stand-in's.
void save_and_check(Session& session, const Program& program, const std::wstring& path)
{
    const SaveDialogView dialog = open_save_dialog(session, program);
    if (!save_as(dialog, path))
        session.stop("the save dialog did not close for " + utf8(path));
    if (!wait_log_line(program, texts::work_over))
        session.stop("the save did not finish");
    check_file(session, path, full_group);
    check_arrangement(session, program, Arrangement::finished);
}

struct BlockedSave {
    std::string_view file_name;
    DWORD error;
    bool hold_open; // another handle holds the file with no sharing
};

// A save that cannot create its file keeps save mode; the retry proposes the
// same path and, once the obstacle is gone, writes the file.
void blocked_save(Session& session, const BlockedSave& blocked)
{
    const std::wstring path = session.work_path(blocked.file_name);
    HANDLE holder = INVALID_HANDLE_VALUE;
    if (blocked.hold_open) {
        holder = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (holder == INVALID_HANDLE_VALUE)
            session.stop("cannot hold " + utf8(path) + " open");
    }
    Program program(session);
    run_to_result_ready(session, program, "https://vk.com/club2500");
    SaveDialogView dialog = open_save_dialog(session, program);
    if (!save_as(dialog, path))
        session.stop("the save dialog did not close for " + utf8(path));
    check_error_report(session, program, create_error_text(path, blocked.error));
    check_save_mode_kept(session, program);
    session.screenshot_window("ResultReady", program.window());

    // The dialog opens in the chosen folder, when it exists, and proposes the
    // chosen name there; either form names the same file.
    dialog = open_save_dialog(session, program);
    const std::wstring proposed = proposed_file_name(dialog);
    const std::wstring file_name = path.substr(path.rfind(L'\\') + 1);
    session.check(proposed == path || proposed == file_name,
                  "the retry proposes " + quoted(proposed) + ", expected " + quoted(path));
    if (!blocked.hold_open) {
        session.check(cancel(dialog), "the save dialog did not close on Cancel");
        check_arrangement(session, program, Arrangement::result_ready);
        session.check(wait_button(program, shows_released),
                      "after a cancel the button should look released: " + describe(button_look(program)));
        save_and_check(session, program, session.work_path("after cancel.csv"));
        return;
    }
    CloseHandle(holder);
    if (!confirm(dialog))
        session.stop("the retried save dialog did not close");
    session.check(wait_log_line(program, texts::work_over), "the retried save did not finish");
    check_file(session, path, full_group);
}

} // namespace

void group_to_file(Session& session)
{
    Program program(session);
    run_to_result_ready(session, program, "https://vk.com/club2500");
    check_arrangement(session, program, Arrangement::result_ready);
    session.check_number(log_line_count(program, "Количество пользователей группы: 2500"), 1, "count lines logged");
    session.check_number(log_line_count(program, "Извлечено 2500 ID из 2500"), 1, "final progress lines logged");
    session.screenshot_window("ResultReady", program.window());
    // The unseen response buffer still answers automation with the last page.
    if (const auto buffer = memo1(program))
        session.check(text_of(*buffer).starts_with(L"{\"response\":{\"count\":2500,"),
                      "the response buffer does not hold the last page: " + quoted(text_of(*buffer).substr(0, 40)));

    const std::wstring path = session.work_path("members.csv");
    save_and_check(session, program, path);
    session.screenshot_window("Finished", program.window());
}

void invalid_group(Session& session)
{
    Program program(session);
    type_reference(session, program, "https://vk.com/no_such_group");
    click_button(program);
    check_wrong_reference_message(session, program, VK_RETURN);
    wait_button(program, shows_released);
    check_arrangement(session, program, Arrangement::start);
    if (const auto panel = log_panel(program))
        session.check_text(text_of(*panel), "", "log panel after an invalid group");
    session.screenshot_window("Start", program.window());
}

// No server listens on the API port: page 0 cannot even connect.
void refused_connection(Session& session)
{
    Program program(session);
    type_reference(session, program, "2500");
    click_button(program);
    check_wrong_reference_message(session, program, VK_ESCAPE);
    wait_button(program, shows_released);
    check_arrangement(session, program, Arrangement::start);
    session.check_number(log_line_count(program, texts::run_begins), 1,
                         "the hidden log keeps its first line after a failed fetch");
}

void later_page_fails(Session& session)
{
    Program program(session);
    type_reference(session, program, "2500-fail2");
    click_button(program);
    check_error_report(session, program, L"HTTP/1.1 500 Internal Server Error.");
    check_arrangement(session, program, Arrangement::running);
    const auto lines = log_lines(program);
    session.check(!lines.empty() && lines.back() == wide("Извлечено 2000 ID из 2500"),
                  "the last log line should count the two pages read, got " +
                      (lines.empty() ? std::string("no lines") : quoted(lines.back())));
    session.check(!log_has_line(program, texts::run_done), "the log says the run finished");
    session.screenshot_window("Running", program.window());
}

// A close request during a run waits for the run's last page, then the
// program ends without offering the save.
void close_during_run(Session& session)
{
    Program program(session);
    type_reference(session, program, "100000");
    click_button(program);
    if (!wait_until([&] { return shown(log_panel(program)); }))
        session.stop("the run did not start");
    PostMessageW(program.window(), WM_CLOSE, 0, 0);
    session.check(!log_has_line(program, texts::run_done), "the run ended before the close request; use a larger group");
    const auto exit_code = program.wait_exit(120000);
    if (!session.check(exit_code.has_value(), "the program did not end after the run"))
        return;
    session.check_number(*exit_code, 0, "exit code");
    const std::string requests = read_file_bytes(session.work_path("stand_in_api.log"));
    long long pages = 0;
    for (size_t at = requests.find("group_id=100000&"); at != std::string::npos;
         at = requests.find("group_id=100000&", at + 1))
        ++pages;
    session.check_number(pages, 101, "pages requested before the program ended");
}

void save_over_longer_file(Session& session)
{
    const std::wstring path = session.work_path("longer.csv");
    write_file_bytes(path, std::string(expected_result(session, full_group).size() + 4096, 'x'));
    Program program(session);
    run_to_result_ready(session, program, "https://vk.com/club2500");
    save_and_check(session, program, path);
}

void save_over_held_file(Session& session)
{
    blocked_save(session, {"held.csv", ERROR_SHARING_VIOLATION, true});
}

void save_into_missing_folder(Session& session)
{
    blocked_save(session, {"no such folder\\members.csv", ERROR_PATH_NOT_FOUND, false});
}

// disk-full.csv in the work folder leads to /dev/full: the open succeeds and
// the write comes up short.
void save_short_write(Session& session)
{
    Program program(session);
    run_to_result_ready(session, program, "https://vk.com/club2500");
    const SaveDialogView dialog = open_save_dialog(session, program);
    if (!save_as(dialog, session.work_path("disk-full.csv")))
        session.stop("the save dialog did not close");
    check_error_report(session, program, L"Stream write error.");
    check_save_mode_kept(session, program);
}
