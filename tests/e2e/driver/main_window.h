#pragma once
// The main window as the user sees it: its controls, the log panel's lines,
// its four arrangements and the picture button's look.
#include "program.h"
#include "session.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

std::optional<HWND> label1(const Program& program);
std::optional<HWND> edit1(const Program& program);
std::optional<HWND> memo1(const Program& program);
std::optional<HWND> log_panel(const Program& program);
bool shown(const std::optional<HWND>& control);

std::vector<std::wstring> log_lines(const Program& program);
bool log_has_line(const Program& program, std::string_view line_utf8);
long long log_line_count(const Program& program, std::string_view line_utf8);
bool wait_log_line(const Program& program, std::string_view line_utf8, DWORD timeout_ms = 30000);

enum class Arrangement { start, running, result_ready, finished };
void check_arrangement(Session& session, const Program& program, Arrangement expected);

// How the picture button looks on the screen right now.
struct ButtonLook {
    int red_lettering = 0;   // strongly red pixels in the word's area
    int white_lettering = 0; // near-white pixels in the word's area
    int face = 0;            // blue face pixels at the button's right end
};
ButtonLook button_look(const Program& program);
bool shows_pressed(const ButtonLook& look);
bool shows_released(const ButtonLook& look);
bool shows_button(const ButtonLook& look);
bool wait_button(const Program& program, bool (*state)(const ButtonLook&), DWORD timeout_ms = 5000);
std::string describe(const ButtonLook& look);
