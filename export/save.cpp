#include "export/save.h"

#include "platform/result_file.h"

namespace quorix {

void save_result(SaveWindow& window) {
  const auto path = window.run_save_dialog();
  if (!path) return;

  write_result_file(*path, window.result_list_text());

  window.append_log_line("Результаты сохранены!");
  window.scroll_log_one_line();
  window.hide_picture_button();
  window.set_log_height(106);
  window.append_log_line("Работа програмы окончена.");
  window.scroll_log_one_line();
  window.set_picture_button_tag(1);
}

}  // namespace quorix
