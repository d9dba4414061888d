#pragma once
// What the run needs of the members API: one page of up to 1000 members.
#include <string>
#include <string_view>

namespace quorix {

class PageFetcher {
 public:
  virtual ~PageFetcher() = default;
  // The raw body bytes of a success answer for page `page` (offset page x
  // 1000); throws std::runtime_error with the failure's message otherwise.
  virtual std::string fetch_page(std::string_view group_id, int page) = 0;
};

}  // namespace quorix
