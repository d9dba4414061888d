#pragma once
// What a user does with the window, step by step, with the waits that make
// each step safe to follow by the next.
#include "dialogs.h"
#include "program.h"
#include "session.h"

#include <string>
#include <string_view>

// The program's own texts, as the user reads them.
namespace texts {
constexpr std::string_view prompt = "Вставьте  URL или ID группы:";
constexpr std::string_view wrong_reference = "Введена неправильная ссылка или ID группы";
constexpr std::string_view run_begins = "Начинается процесс извлечения ID";
constexpr std::string_view run_done = "Извлечение завершено, можно сохранить результат";
constexpr std::string_view saved = "Результаты сохранены!";
constexpr std::string_view work_over = "Работа програмы окончена.";
constexpr std::string_view start_hint = "Начать процесс извлечения ID";
constexpr std::string_view save_hint = "Сохранить результат";
} // namespace texts

void bring_to_front(const Program& program);
// Types the reference into the focused input line and checks it arrived.
void type_reference(Session& session, const Program& program, std::string_view reference_utf8);
void click_button(const Program& program);
// Types, clicks and waits for the end of the run; stops the scenario otherwise.
void run_to_result_ready(Session& session, const Program& program, std::string_view reference_utf8);
// Clicks in save mode and waits for the save dialog.
SaveDialogView open_save_dialog(Session& session, const Program& program);
MessageBoxView expect_message_box(Session& session, const Program& program);

std::string read_file_bytes(const std::wstring& path);
void write_file_bytes(const std::wstring& path, std::string_view bytes);
// The bytes the stand-in API says a group's result file must hold.
std::string expected_result(Session& session, std::string_view group);
void check_file(Session& session, const std::wstring& path, std::string_view group);
