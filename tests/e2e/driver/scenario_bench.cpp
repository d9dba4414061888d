// A whole run of a large group, timed as a user would time it: from the
// click to the run's closing log line. Used by the run benchmark, not a test.
#include "main_window.h"
#include "scenarios.h"
#include "text.h"
#include "user_actions.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>

namespace {

double seconds(const FILETIME& time)
{
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 1e7;
}

} // namespace

void timed_run(Session& session)
{
    Program program(session);
    type_reference(session, program, utf8(session.options().argument));
    LARGE_INTEGER frequency, clicked, done;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&clicked);
    click_button(program);
    if (!wait_log_line(program, texts::run_done, 600000))
        session.stop("the run did not finish");
    QueryPerformanceCounter(&done);

    const std::wstring path = session.work_path("result.csv");
    const SaveDialogView dialog = open_save_dialog(session, program);
    if (!save_as(dialog, path) || !wait_log_line(program, texts::work_over))
        session.stop("the save did not finish");

    const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.process_id());
    FILETIME created, exited, kernel, user;
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    const bool timed = process && GetProcessTimes(process, &created, &exited, &kernel, &user);
    const bool measured = process && GetProcessMemoryInfo(process, &memory, sizeof memory);
    if (process)
        CloseHandle(process);
    std::printf("run_wall_s %.3f cpu_s %.3f peak_kb %lu\n",
                static_cast<double>(done.QuadPart - clicked.QuadPart) / static_cast<double>(frequency.QuadPart),
                timed ? seconds(kernel) + seconds(user) : -1.0,
                measured ? static_cast<unsigned long>(memory.PeakWorkingSetSize / 1024) : 0ul);
    std::fflush(stdout);
}
