#pragma once
// The save: asks for a file name, writes the result list there, and leaves
// the window finished.
#include "export/save_window.h"

namespace quorix {

void save_result(SaveWindow& window);

}  // namespace quorix
