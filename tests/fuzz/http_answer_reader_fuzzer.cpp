// Any bytes from a server give an answer or one of the reader's failures,
// and whatever cookies they set leave the cookie store sound.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "extraction/cookie_store.h"
#include "extraction/http_answer_reader.h"

namespace {

// Serves the input in pieces of the size its first byte asks for; at the end
// it ends or stalls, as the second byte says.
class FuzzSource : public quorix::ByteSource {
 public:
  FuzzSource(const std::uint8_t* data, std::size_t size, std::size_t piece, bool stall)
      : data_(data), size_(size), piece_(piece), stall_(stall) {}

  std::ptrdiff_t receive(char* buffer, std::size_t size, std::chrono::milliseconds) override {
    if (at_ == size_) return stall_ ? -1 : 0;
    const std::size_t take = std::min({size, piece_, size_ - at_});
    std::memcpy(buffer, data_ + at_, take);
    at_ += take;
    return static_cast<std::ptrdiff_t>(take);
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t piece_;
  bool stall_;
  std::size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  FuzzSource source(data + 2, size - 2, data[0] % 64 + 1, data[1] & 1);
  quorix::AnswerReader reader(source);
  const std::chrono::milliseconds wait{1};
  try {
    const quorix::AnswerHead head = reader.read_head(wait);
    quorix::CookieStore cookies;
    const quorix::CookieTime now{std::chrono::seconds{1700000000}};
    for (std::string_view value : head.values("Set-cookie")) cookies.take(value, "api.example.com", now);
    const std::string sent = cookies.cookie_list("api.example.com", "/method/", now);
    if (sent.size() > size) __builtin_trap();
    if (!head.complete) return 0;
    if (head.succeeded()) {
      const std::string body = reader.read_body(head, wait);
      if (body.size() > size) __builtin_trap();
    } else {
      reader.skip_body(head, wait);
    }
  } catch (const quorix::AnswerError&) {
  }
  return 0;
}
