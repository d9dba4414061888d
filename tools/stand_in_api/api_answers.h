#pragma once
// The answers of the members API method, faults included, as the bytes of
// one HTTP/1.1 answer.
#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

namespace stand_in {

struct Request {
  std::string_view method;
  std::string_view target;
  std::string_view cookie;  // the Cookie header's value; empty without one
  bool wants_close = false;
};

// Kept by a connection from answer to answer, so that a page costs no
// allocation once the buffers have grown.
struct AnswerBuffer {
  std::string bytes;
  std::string chunked;
};

struct Reply {
  enum class Kind { answer, stall, drop };
  Kind kind = Kind::answer;
  int status = 0;
  bool close = false;      // the connection ends after this answer
  std::string_view bytes;  // the whole answer, inside the AnswerBuffer
};

class ApiAnswers {
 public:
  Reply answer(const Request& request, AnswerBuffer& buffer);

 private:
  std::string issue_session();
  bool knows_session(std::string_view cookie_header);

  std::mutex sessions_mutex_;
  std::set<std::string, std::less<>> sessions_;
  std::uint64_t next_session_ = 0;
};

}  // namespace stand_in
