#include "tests/support/host_system.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace quorix::testing {

bool running_under_wine() {
#ifdef _WIN32
  const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
  return false;
#endif
}

}  // namespace quorix::testing
