#pragma once
// The extraction run: from the group reference in the input line to the
// complete result list, page by page, with its progress in the log panel.
#include "extraction/page_fetcher.h"
#include "extraction/run_window.h"

namespace quorix {

void extraction_run(RunWindow& window, PageFetcher& fetcher);

}  // namespace quorix
