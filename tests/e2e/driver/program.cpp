#include "program.h"

#include "layout.h"
#include "text.h"
#include "wait.h"
#include "windows_probe.h"

namespace {

// The visible top-level window captioned "Quorix" that is not a dialog.
std::optional<HWND> main_window_of(DWORD process_id)
{
    for (HWND window : top_level_windows(process_id))
        if (class_name_of(window) != L"#32770" && class_name_of(window) != L"tooltips_class32" &&
            text_of(window) == L"Quorix")
            return window;
    return std::nullopt;
}

} // namespace

Program::Program(Session& session)
{
    std::wstring command_line = L"\"" + session.options().program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(session.options().program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, session.options().work_dir.c_str(), &startup, &info))
        session.stop("cannot start " + utf8(session.options().program) + ", error " +
                     std::to_string(GetLastError()));
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    process_id_ = info.dwProcessId;

    const auto found = wait_for([&] { return main_window_of(process_id_); }, 20000);
    if (!found)
        session.stop("no visible window captioned \"Quorix\" appeared");
    window_ = *found;
    if (!wait_until([&] { return child_at(window_, L"Edit", layout::edit1).has_value(); }))
        session.stop("the input line never appeared at " + describe(layout::edit1));
}

Program::~Program()
{
    if (running()) {
        PostMessageW(window_, WM_CLOSE, 0, 0);
        if (!wait_exit(5000))
            TerminateProcess(process_, 1);
    }
    CloseHandle(process_);
}

POINT Program::screen_point(POINT client_point) const
{
    return client_to_screen(window_, client_point);
}

std::optional<DWORD> Program::wait_exit(DWORD timeout_ms)
{
    if (WaitForSingleObject(process_, timeout_ms) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

bool Program::running() const
{
    return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}
