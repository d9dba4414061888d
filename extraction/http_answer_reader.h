#pragma once
// Reads one HTTP/1.1 answer from a byte source: the head line by line, then
// the body as its framing says. Whatever the server sends, the memory it
// takes is bounded, except for the success body the caller asks to keep.
#include <chrono>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorix {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Bytes read into `buffer`, 0 once the source has ended, -1 when `limit`
  // passed without a byte.
  virtual std::ptrdiff_t receive(char* buffer, std::size_t size,
                                 std::chrono::milliseconds limit) = 0;
};

// The exchange broke down; the message is one of `answer_failure`.
class AnswerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

namespace answer_failure {
inline constexpr const char* closed = "Connection Closed Gracefully.";
inline constexpr const char* line_too_long = "Max line length exceeded.";
inline constexpr const char* head_too_large = "Max header size exceeded.";
inline constexpr const char* bad_chunk_size = "Invalid chunk size.";
inline constexpr const char* read_timeout = "Read Timeout";
inline constexpr const char* undefined = "Undefined situation";
}  // namespace answer_failure

inline constexpr std::size_t max_head_line = 16384;
inline constexpr std::size_t max_head_size = 1 << 20;

struct AnswerHead {
  std::string status_line;  // as received, without its line end
  int status = -1;          // -1: no number after the first space
  std::vector<std::pair<std::string, std::string>> fields;  // name, trimmed value
  bool complete = false;    // the empty line that ends the head has arrived

  // The value of the first field called `name`, in any letter case.
  std::optional<std::string_view> field(std::string_view name) const;
  // The values of all fields called `name`, in any letter case, in order.
  std::vector<std::string_view> values(std::string_view name) const;
  // 2xx without a "Location": redirects, even disguised ones, are not followed.
  bool succeeded() const;
  // "Connection" or "Proxy-Connection" says "close".
  bool asks_to_close() const;
};

class AnswerReader {
 public:
  explicit AnswerReader(ByteSource& source);

  // The head of the final answer; interim "100" heads are dropped. Each wait
  // for data lasts at most `wait_limit`. A head cut short by the end of the
  // source comes back with `complete` false.
  AnswerHead read_head(std::chrono::milliseconds wait_limit);
  // The body of a complete head with its framing removed. A body shorter
  // than its "Content-Length" is taken as it is.
  std::string read_body(const AnswerHead& head, std::chrono::milliseconds wait_limit);
  // Reads the body as `read_body` does and drops it.
  void skip_body(const AnswerHead& head, std::chrono::milliseconds wait_limit);
  // The source has ended: the connection cannot carry another request.
  bool source_ended() const { return ended_; }

 private:
  bool fill(std::chrono::milliseconds wait_limit);
  std::optional<std::string> read_line(std::chrono::milliseconds wait_limit);
  AnswerHead read_one_head(std::chrono::milliseconds wait_limit);
  void read_body_into(const AnswerHead& head, std::chrono::milliseconds wait_limit,
                      std::string* keep);
  std::size_t copy_bytes(std::size_t count, std::chrono::milliseconds wait_limit,
                         std::string* keep);
  void read_chunks(std::chrono::milliseconds wait_limit, std::string* keep);

  ByteSource& source_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;  // first unread byte
  std::size_t end_ = 0;    // one past the last received byte
  bool ended_ = false;
};

}  // namespace quorix
