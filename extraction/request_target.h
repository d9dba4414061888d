#pragma once
// What one page request says: the page's path and query, the target that
// goes out on the request line, and the request head byte for byte.
#include <string>
#include <string_view>

namespace quorix {

// The cookies sent with a page request are those meant for this folder.
inline constexpr std::string_view api_folder = "/method/";

// "/method/groups.getMembers?group_id=<id>&offset=<page x 1000>&count=1000&fields=sex",
// the identifier exactly as given.
std::string page_path(std::string_view group_id, int page);

// The path and query as they may stand on a request line: "\" becomes "/",
// and every byte that cannot stand there (controls, blank, "#", bytes above
// 127) is percent-encoded. "%", "&", "+", "=", "?" and "/" stay as they are.
std::string request_target(std::string_view path_and_query);

// The request line and header lines, each ending in CR LF, and the empty
// line. The "Cookie" line is left out when `cookies` is empty.
std::string request_head(std::string_view target, std::string_view host,
                         std::string_view cookies);

}  // namespace quorix
