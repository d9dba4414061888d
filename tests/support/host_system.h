#pragma once

namespace quorix::testing {

// True when a Windows build runs under Wine, which reports some socket
// events differently from Windows (a reset connection reads as closed).
bool running_under_wine();

}  // namespace quorix::testing
