#include "extraction/run.h"

#include <cstdint>
#include <exception>
#include <string>

#include "extraction/group_reference.h"
#include "extraction/page_text.h"

namespace quorix {
namespace {

constexpr int kPageSize = 1000;
constexpr const char* kWrongReference = "Введена неправильная ссылка или ID группы";

void take_answer(RunWindow& window, const std::string& answer) {
  window.set_response_text(convert_answer(answer));
}

void append_page_members(RunWindow& window) {
  MemberScanner scanner(window.response_text());
  MemberFields fields;
  std::string line;
  while (scanner.next(fields)) {
    line.clear();
    append_member_line(line, fields);
    window.append_result_line(line);
  }
}

void log_progress(RunWindow& window, std::int32_t count) {
  window.append_log_line("Извлечено " + std::to_string(window.result_line_count()) + " ID из " +
                         std::to_string(count));
}

}  // namespace

void extraction_run(RunWindow& window, PageFetcher& fetcher) {
  const std::string reference = window.read_input();
  if (is_blank_reference(reference)) return;
  const std::string group_id = group_identifier(reference);
  std::int32_t count = 0;

  window.set_log_height(106);
  window.set_visible(RunControl::LogPanel, true);
  window.append_log_line("Начинается процесс извлечения ID");

  std::string answer;
  try {
    answer = fetcher.fetch_page(group_id, 0);
  } catch (const std::exception&) {
    // Whatever went wrong, the user is most likely to have pasted a wrong reference.
    window.show_message(kWrongReference);
    window.set_visible(RunControl::LogPanel, false);
    return;
  }
  take_answer(window, answer);

  if (has_invalid_group_marker(window.response_text())) {
    window.show_message(kWrongReference);
    window.set_visible(RunControl::LogPanel, false);
    window.clear_log();
    return;
  }

  window.set_visible(RunControl::LogPanel, true);
  window.set_visible(RunControl::InputLine, false);
  window.set_visible(RunControl::Prompt, false);
  window.set_visible(RunControl::PictureButton, false);
  window.process_pending_events();

  if (const auto reported = member_count(window.response_text())) count = *reported;
  window.append_log_line("Количество пользователей группы: " + std::to_string(count));

  window.clear_result_list();
  append_page_members(window);
  log_progress(window, count);

  if (count > kPageSize) {
    const int extra_pages = count / kPageSize;
    for (int page = 1; page <= extra_pages; ++page) {
      window.process_pending_events();
      take_answer(window, fetcher.fetch_page(group_id, page));
      append_page_members(window);
      log_progress(window, count);
      window.scroll_log_one_line();
    }
  }

  window.set_log_height(50);
  window.append_log_line("Извлечение завершено, можно сохранить результат");
  window.scroll_log_one_line();
  window.switch_to_save_mode();
}

}  // namespace quorix
