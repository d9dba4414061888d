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

struct Reply {
  enum class Kind { answer, stall, drop };
  Kind kind = Kind::answer;
  int status = 0;
  bool close = false;  // the connection ends after this answer
};

class ApiAnswers {
 public:
  // Writes the whole answer (head and body) to `out` when the reply is an
  // answer; `scratch` holds the body meanwhile. Both are reused between calls.
  Reply answer(const Request& request, std::string& out, std::string& scratch);

 private:
  std::string issue_session();
  bool knows_session(std::string_view cookie_header);

  std::mutex sessions_mutex_;
  std::set<std::string, std::less<>> sessions_;
  std::uint64_t next_session_ = 0;
};

}  // namespace stand_in
