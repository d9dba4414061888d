// A whole run of a large group, timed as a user would time it: from the
// click to the run's closing log line. Used by the run benchmark, not a test.
#include "main_window.h"
#include "scenarios.h"
#include "text.h"
#include "user_actions.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>

namespace {

struct Cost {
    double cpu_seconds;
    long peak_kib;
};

std::string read_all(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Under Wine the program is a Linux process as well, and the kernel's
// counters (seen through Z:\proc) are what it really cost: Wine's answer to
// GetProcessTimes for another process leaves out most of it.
std::optional<Cost> linux_cost_of(const char* image)
{
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::optional<Cost> cost;
    do {
        const std::wstring pid = found.cFileName;
        if (pid.find_first_not_of(L"0123456789") != std::wstring::npos)
            continue;
        const std::wstring dir = L"Z:\\proc\\" + pid + L"\\";
        const std::string command = read_all(dir + L"cmdline");
        const std::string program = command.substr(0, command.find('\0'));
        if (!program.ends_with(image))
            continue;
        const std::string stat = read_all(dir + L"stat");
        std::istringstream fields(stat.substr(stat.rfind(')') + 2));
        std::string field;
        double ticks = 0;
        for (int i = 3; i <= 15 && fields >> field; ++i)
            if (i >= 14)
                ticks += std::stod(field);
        const std::string status = read_all(dir + L"status");
        const auto peak = status.find("VmHWM:");
        cost = Cost{ticks / 100.0, peak == std::string::npos ? 0 : std::stol(status.substr(peak + 6))};
    } while (!cost && FindNextFileW(search, &found));
    FindClose(search);
    return cost;
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
    const double wall = static_cast<double>(done.QuadPart - clicked.QuadPart) / static_cast<double>(frequency.QuadPart);
    std::fprintf(stderr, "run finished after %.3f s\n", wall);

    const std::wstring path = session.work_path("result.csv");
    const SaveDialogView dialog = open_save_dialog(session, program);
    if (!save_as(dialog, path) || !wait_log_line(program, texts::work_over))
        session.stop("the save did not finish");

    const std::optional<Cost> cost = linux_cost_of("\\quorix.exe");
    session.check(cost.has_value(), "quorix.exe not found under Z:\\proc");
    std::printf("run_wall_s %.3f cpu_s %.2f peak_kb %ld\n", wall, cost ? cost->cpu_seconds : -1.0,
                cost ? cost->peak_kib : 0L);
    std::fflush(stdout);
}
