#pragma once
// One scenario's run: where things are, and how checks report what was wrong.
#include <windows.h>

#include <stdexcept>
#include <string>
#include <string_view>

struct Options {
    std::string scenario;
    std::string label;     // names this run's screenshots; the scenario by default
    std::wstring program;  // quorix.exe, as a Windows path
    std::wstring work_dir; // a scratch folder of this run, expected files in it
    std::wstring shot_dir; // where screenshots go
    std::wstring argument; // the scenario's own optional argument
};

// Thrown when a scenario cannot go on; the message says what was missing.
struct ScenarioStopped : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Session {
public:
    explicit Session(Options options) : options_(std::move(options)) {}

    const Options& options() const { return options_; }
    std::wstring work_path(std::string_view name) const;

    // Records a failed check and goes on, so one run shows every fault.
    bool check(bool ok, const std::string& what);
    bool check_text(std::wstring_view got, std::string_view expected_utf8, const std::string& what);
    bool check_number(long long got, long long expected, const std::string& what);
    [[noreturn]] void stop(const std::string& why);

    // Saves <scenario>-<arrangement>.png of that part of the screen.
    void screenshot(std::string_view arrangement, const RECT& screen_rect);
    void screenshot_window(std::string_view arrangement, HWND window);
    void screenshot_screen(std::string_view arrangement);

    bool passed() const { return failures_ == 0; }

private:
    Options options_;
    int failures_ = 0;
};
