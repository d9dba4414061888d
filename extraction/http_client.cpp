#include "extraction/http_client.h"

#include <utility>

#include "extraction/request_target.h"

namespace quorix {
namespace {

class ConnectionSource : public ByteSource {
 public:
  explicit ConnectionSource(Connection& connection) : connection_(connection) {}
  std::ptrdiff_t receive(char* buffer, std::size_t size, std::chrono::milliseconds limit) override {
    return connection_.receive(buffer, size, limit);
  }

 private:
  Connection& connection_;
};

CookieTime now() { return std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now()); }

}  // namespace

HttpClient::HttpClient(std::string host, std::uint16_t port, HttpLimits limits)
    : host_(std::move(host)), port_(port), limits_(limits) {}

std::string HttpClient::fetch_page(std::string_view group_id, int page) {
  const std::string request =
      request_head(request_target(page_path(group_id, page)), host_, cookies_.cookie_list(host_, api_folder, now()));
  Exchange answer;
  try {
    answer = exchange(request);
  } catch (...) {
    // Whatever broke the exchange leaves the connection in an unknown state.
    connection_.reset();
    throw;
  }
  if (!answer.head.succeeded()) throw std::runtime_error(answer.head.status_line);
  return std::move(answer.body);
}

Connection& HttpClient::open_connection() {
  if (connection_ && (!reusable_ || connection_->closed_by_peer())) connection_.reset();
  if (!connection_) connection_ = connect_tcp(host_, port_, limits_.connect);
  return *connection_;
}

HttpClient::Exchange HttpClient::exchange(const std::string& request) {
  Connection& connection = open_connection();
  reusable_ = false;
  connection.send_all(request.data(), request.size());

  ConnectionSource source(connection);
  AnswerReader reader(source);
  Exchange answer{reader.read_head(limits_.read), {}};
  for (const char* name : {"Set-cookie", "Set-cookie2"})
    for (std::string_view value : answer.head.values(name)) cookies_.take(value, host_, now());

  const bool success = answer.head.succeeded();
  if (!answer.head.complete) {
    if (success) throw AnswerError(answer_failure::undefined);
    return answer;
  }
  if (success)
    answer.body = reader.read_body(answer.head, limits_.read);
  else
    reader.skip_body(answer.head, limits_.failure_body);
  reusable_ = !answer.head.asks_to_close() && !reader.source_ended();
  return answer;
}

}  // namespace quorix
