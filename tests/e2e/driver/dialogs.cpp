#include "dialogs.h"

#include "input.h"
#include "wait.h"
#include "windows_probe.h"

namespace {

constexpr int message_text_id = 0xFFFF;
constexpr int file_name_id = 0x47C;
constexpr int file_type_id = 0x470;

bool shows_icon(HWND dialog)
{
    for (const ChildWindow& child : children_of(dialog))
        if (child.class_name == L"Static" && IsWindowVisible(child.handle) &&
            (GetWindowLongW(child.handle, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
            SendMessageW(child.handle, STM_GETICON, 0, 0) != 0)
            return true;
    return false;
}

bool closes(HWND dialog, WPARAM command)
{
    // Posted, so the driver never blocks on the program's thread.
    PostMessageW(dialog, WM_COMMAND, command, 0);
    return wait_until([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

} // namespace

std::optional<MessageBoxView> find_message_box(DWORD process_id)
{
    for (HWND dialog : top_level_windows(process_id, L"#32770")) {
        if (descendant_with_id(dialog, file_name_id))
            continue;
        if (const auto text = descendant_with_id(dialog, message_text_id))
            return MessageBoxView{dialog, text_of(dialog), text_of(*text), shows_icon(dialog)};
    }
    return std::nullopt;
}

std::optional<MessageBoxView> wait_message_box(DWORD process_id, DWORD timeout_ms)
{
    return wait_for([&] { return find_message_box(process_id); }, timeout_ms);
}

bool answer_ok(HWND dialog)
{
    return closes(dialog, IDOK);
}

bool answer_with_key(HWND dialog, WORD virtual_key)
{
    SetForegroundWindow(dialog);
    wait_until([&] { return GetForegroundWindow() == dialog; }, 2000);
    key_press(virtual_key);
    return wait_until([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
}

std::optional<SaveDialogView> find_save_dialog(DWORD process_id)
{
    for (HWND dialog : top_level_windows(process_id, L"#32770"))
        if (const auto name = descendant_with_id(dialog, file_name_id))
            return SaveDialogView{dialog, *name};
    return std::nullopt;
}

std::optional<SaveDialogView> wait_save_dialog(DWORD process_id, DWORD timeout_ms)
{
    return wait_for([&] { return find_save_dialog(process_id); }, timeout_ms);
}

std::wstring proposed_file_name(const SaveDialogView& dialog)
{
    return text_of(dialog.file_name);
}

std::wstring chosen_file_type(const SaveDialogView& dialog)
{
    const auto box = descendant_with_id(dialog.window, file_type_id);
    return box ? text_of(*box) : std::wstring();
}

bool save_as(const SaveDialogView& dialog, const std::wstring& path)
{
    SendMessageTimeoutW(dialog.file_name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_ABORTIFHUNG,
                        5000, nullptr);
    return closes(dialog.window, IDOK);
}

bool confirm(const SaveDialogView& dialog)
{
    return closes(dialog.window, IDOK);
}

bool cancel(const SaveDialogView& dialog)
{
    return closes(dialog.window, IDCANCEL);
}
