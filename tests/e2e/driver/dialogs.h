#pragma once
// The program's message boxes and its save dialog, as top-level #32770
// windows of its process.
#include <windows.h>

#include <optional>
#include <string>

struct MessageBoxView {
    HWND window;
    std::wstring caption;
    std::wstring text;
    bool has_icon;
};

std::optional<MessageBoxView> find_message_box(DWORD process_id);
std::optional<MessageBoxView> wait_message_box(DWORD process_id, DWORD timeout_ms = 15000);
// Presses OK the way the dialog manager would and waits until the box is gone.
bool answer_ok(HWND dialog);
// Answers with a real key press, as a user at the keyboard would.
bool answer_with_key(HWND dialog, WORD virtual_key);

struct SaveDialogView {
    HWND window;
    HWND file_name; // the file name box, id 0x47C
};

std::optional<SaveDialogView> find_save_dialog(DWORD process_id);
std::optional<SaveDialogView> wait_save_dialog(DWORD process_id, DWORD timeout_ms = 15000);
std::wstring proposed_file_name(const SaveDialogView& dialog);
std::wstring chosen_file_type(const SaveDialogView& dialog); // the file type box, id 0x470
// Types the path into the name box, confirms, and waits until the dialog closes.
bool save_as(const SaveDialogView& dialog, const std::wstring& path);
// Presses Save with the name the dialog proposes.
bool confirm(const SaveDialogView& dialog);
bool cancel(const SaveDialogView& dialog);
