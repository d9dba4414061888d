// Any answer converts, and its page text never holds a zero byte; text of
// bytes 1 to 127 comes through unchanged.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "extraction/page_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view answer(reinterpret_cast<const char*>(data), size);
  const auto page_text = quorix::convert_answer(answer);
  if (page_text.find('\0') != std::string::npos) std::abort();
  if (page_text.size() > answer.size()) std::abort();
  const bool ascii = std::all_of(answer.begin(), answer.end(), [](char c) { const auto byte = static_cast<unsigned char>(c); return byte > 0 && byte < 0x80; });
  if (ascii && page_text != answer) std::abort();
  return 0;
}
