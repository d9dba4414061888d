// Any page text gives a count, no count, or the conversion's failure message.
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include "extraction/page_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view page_text(reinterpret_cast<const char*>(data), size);
  // Page text never holds a zero byte, and a message stops at one.
  if (page_text.find('\0') != std::string_view::npos) return 0;
  try {
    quorix::member_count(page_text);
  } catch (const std::runtime_error& error) {
    const std::string_view message = error.what();
    if (!message.starts_with('\'') || !message.ends_with("' is not a valid integer value")) std::abort();
  }
  return 0;
}
