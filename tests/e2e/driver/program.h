#pragma once
// quorix.exe started by us, its main window found once its controls exist.
#include "session.h"

#include <windows.h>

#include <optional>

class Program {
public:
    // Starts the program in the work folder and waits for its window.
    explicit Program(Session& session);
    ~Program(); // closes the program if a scenario left it running
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    HWND window() const { return window_; }
    DWORD process_id() const { return process_id_; }
    POINT screen_point(POINT client_point) const;

    std::optional<DWORD> wait_exit(DWORD timeout_ms);
    bool running() const;

private:
    HANDLE process_ = nullptr;
    DWORD process_id_ = 0;
    HWND window_ = nullptr;
};
