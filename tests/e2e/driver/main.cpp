// quorix_driver.exe <scenario> --program <quorix.exe> --work <dir> --shots <dir> [--name <label>] [--arg <value>]
// Drives quorix.exe as a user would; exit code 0 when every check held.
#include "scenarios.h"
#include "session.h"
#include "text.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr Scenario scenarios[] = {
    {"start", start_arrangement},
    {"group_to_file", group_to_file},
    {"invalid_group", invalid_group},
    {"refused_connection", refused_connection},
    {"later_page_fails", later_page_fails},
    {"close_during_run", close_during_run},
    {"save_over_longer_file", save_over_longer_file},
    {"save_over_held_file", save_over_held_file},
    {"save_into_missing_folder", save_into_missing_folder},
    {"save_short_write", save_short_write},
    {"button_in_hand", button_in_hand},
    {"double_click", double_click_runs_once},
    {"hints", button_hints},
    {"new_user_road", new_user_road},
    {"timed_run", timed_run},
};

int usage()
{
    std::fprintf(stderr, "usage: quorix_driver <scenario> --program <exe> --work <dir> --shots <dir> [--name <l>] [--arg <v>]\n"
                         "scenarios:");
    for (const Scenario& scenario : scenarios)
        std::fprintf(stderr, " %.*s", static_cast<int>(scenario.name.size()), scenario.name.data());
    std::fprintf(stderr, "\n");
    return 2;
}

} // namespace

int wmain(int count, wchar_t** arguments)
{
    if (count < 2)
        return usage();
    Options options;
    options.scenario = utf8(arguments[1]);
    for (int i = 2; i + 1 < count; i += 2) {
        const std::wstring name = arguments[i];
        const std::wstring value = arguments[i + 1];
        if (name == L"--program")
            options.program = value;
        else if (name == L"--work")
            options.work_dir = value;
        else if (name == L"--shots")
            options.shot_dir = value;
        else if (name == L"--name")
            options.label = utf8(value);
        else if (name == L"--arg")
            options.argument = value;
        else
            return usage();
    }
    if (options.label.empty())
        options.label = options.scenario;
    if (options.program.empty() || options.work_dir.empty() || options.shot_dir.empty())
        return usage();

    for (const Scenario& scenario : scenarios) {
        if (scenario.name != options.scenario)
            continue;
        Session session(options);
        try {
            scenario.run(session);
        } catch (const ScenarioStopped& stopped) {
            std::fprintf(stderr, "STOPPED: %s\n", stopped.what());
        }
        std::fprintf(stderr, "%s: %s\n", options.scenario.c_str(), session.passed() ? "passed" : "FAILED");
        return session.passed() ? EXIT_SUCCESS : EXIT_FAILURE;
    }
    return usage();
}
