// Starts the stand-in binary and talks to it over loopback with raw bytes,
// so framing, persistence and faults are seen as a client sees them.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

const std::string members_path = "/method/groups.getMembers?group_id=";

std::string page_target(const std::string& group_id, int offset) {
  return members_path + group_id + "&offset=" + std::to_string(offset) +
         "&count=1000&fields=sex";
}

std::string request(const std::string& target, const std::string& extra_headers = "") {
  return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + extra_headers + "\r\n";
}

std::string closing_request(const std::string& target, const std::string& extra_headers = "") {
  return request(target, extra_headers + "Connection: close\r\n");
}

class Client {
 public:
  explicit Client(std::uint16_t port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
      throw std::runtime_error("connect");
    }
  }
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;
  ~Client() { ::close(fd_); }

  void send(std::string_view bytes) {
    ASSERT_EQ(::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(bytes.size()));
  }

  // Everything until the server closes; fails the test after `limit_ms`.
  std::string read_to_end(int limit_ms = 5000) {
    std::string got;
    char buffer[65536];
    for (;;) {
      pollfd ready{fd_, POLLIN, 0};
      if (::poll(&ready, 1, limit_ms) != 1) {
        ADD_FAILURE() << "the server neither answered nor closed";
        return got;
      }
      const auto n = ::recv(fd_, buffer, sizeof buffer, 0);
      if (n <= 0) return got;
      got.append(buffer, static_cast<std::size_t>(n));
    }
  }

  // True when nothing arrives and the connection stays open for `ms`.
  bool silent_for(int ms) {
    pollfd ready{fd_, POLLIN, 0};
    return ::poll(&ready, 1, ms) == 0;
  }

 private:
  int fd_;
};

struct Answer {
  std::string status_line;
  std::string head;  // header lines, each ending in CR LF
  std::string body;  // framing removed
};

std::string dechunk(std::string_view chunked, int* chunks) {
  std::string body;
  *chunks = 0;
  for (;;) {
    const auto line_end = chunked.find("\r\n");
    const auto size = std::stoul(std::string(chunked.substr(0, line_end)), nullptr, 16);
    chunked.remove_prefix(line_end + 2);
    if (size == 0) return body;
    body.append(chunked.substr(0, size));
    chunked.remove_prefix(size + 2);
    ++*chunks;
  }
}

// Splits the first answer off `bytes`.
Answer take_answer(std::string& bytes) {
  Answer answer;
  const auto status_end = bytes.find("\r\n");
  const auto head_end = bytes.find("\r\n\r\n");
  if (status_end == std::string::npos || head_end == std::string::npos) {
    ADD_FAILURE() << "no complete head in: " << bytes;
    bytes.clear();
    return answer;
  }
  answer.status_line = bytes.substr(0, status_end);
  answer.head = bytes.substr(status_end + 2, head_end - status_end);
  const auto length_at = answer.head.find("Content-Length: ");
  if (length_at != std::string::npos) {
    const auto length = std::stoul(answer.head.substr(length_at + 16));
    answer.body = bytes.substr(head_end + 4, length);
    bytes.erase(0, head_end + 4 + length);
  } else {
    int chunks = 0;
    answer.body = dechunk(std::string_view(bytes).substr(head_end + 4), &chunks);
    bytes.clear();
  }
  return answer;
}

class StandInApi : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    server_ = ::fork();
    if (server_ == 0) {
      ::dup2(out[1], 1);
      ::execl(STAND_IN_API, STAND_IN_API, "--port", "0", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(out[1]);
    std::string line;
    char c;
    while (::read(out[0], &c, 1) == 1 && c != '\n') line.push_back(c);
    ::close(out[0]);
    const std::string prefix = "listening on 127.0.0.1:";
    ASSERT_TRUE(line.starts_with(prefix)) << line;
    port_ = static_cast<std::uint16_t>(std::stoi(line.substr(prefix.size())));
  }

  static void TearDownTestSuite() {
    ::kill(server_, SIGTERM);
    ::waitpid(server_, nullptr, 0);
  }

  // One request on a fresh connection that the server closes after it.
  static Answer exchange(const std::string& target, const std::string& extra_headers = "") {
    Client client(port_);
    client.send(closing_request(target, extra_headers));
    auto bytes = client.read_to_end();
    return take_answer(bytes);
  }

  static pid_t server_;
  static std::uint16_t port_;
};

pid_t StandInApi::server_ = -1;
std::uint16_t StandInApi::port_ = 0;

constexpr std::string_view group_6_page_0 =
    R"({"response":{"count":6,"users":[)"
    R"({"uid":100000,"first_name":"Иван","last_name":"Иванов","sex":2},)"
    R"({"uid":100001,"first_name":"Шон","last_name":"O\"Нил","sex":2},)"
    R"({"uid":100002,"first_name":"Глеб","last_name":"Петров\\","sex":2},)"
    R"({"uid":100003,"first_name":"Жан;Поль","last_name":"Дюпон","sex":2},)"
    R"({"uid":100004,"first_name":"Алина","last_name":"Смирнова😀","sex":1},)"
    R"({"uid":100005,"first_name":"Елена","last_name":"Смирнова","sex":1}]}})";

struct ExactCase {
  const char* what;
  std::string target;
  std::string_view status_line;
  std::string_view body;
};

TEST_F(StandInApi, AnswersWithTheExactBody) {
  const ExactCase cases[] = {
      {"small group", page_target("6", 0), "HTTP/1.1 200 OK", group_6_page_0},
      {"percent-encoded identifier", page_target("%36", 0), "HTTP/1.1 200 OK", group_6_page_0},
      {"invalid group", page_target("no%20such", 0), "HTTP/1.1 200 OK",
       R"({"error":{"error_code":125,"error_msg":"Invalid group id","request_params":[)"
       R"({"key":"oauth","value":"1"},{"key":"method","value":"groups.getMembers"},)"
       R"({"key":"group_id","value":"no such"},{"key":"offset","value":"0"},)"
       R"({"key":"count","value":"1000"},{"key":"fields","value":"sex"}]}})"},
      {"unknown fault is an unknown group", page_target("6-bogus", 0), "HTTP/1.1 200 OK",
       R"({"error":{"error_code":125,"error_msg":"Invalid group id","request_params":[)"
       R"({"key":"oauth","value":"1"},{"key":"method","value":"groups.getMembers"},)"
       R"({"key":"group_id","value":"6-bogus"},{"key":"offset","value":"0"},)"
       R"({"key":"count","value":"1000"},{"key":"fields","value":"sex"}]}})"},
      {"page past the last member", page_target("2000", 2000), "HTTP/1.1 200 OK",
       R"({"response":{"count":2000,"users":[]}})"},
      {"failing page", page_target("2500-fail2", 2000), "HTTP/1.1 500 Internal Server Error",
       R"({"error":{"error_code":500,"error_msg":"Internal Server Error"}})"},
      {"status on every page", page_target("2500-status404", 1000), "HTTP/1.1 404 Not Found",
       R"({"error":{"error_code":404,"error_msg":"Not Found"}})"},
      {"empty page", page_target("2500-empty1", 1000), "HTTP/1.1 200 OK", ""},
  };
  for (const auto& c : cases) {
    const auto answer = exchange(c.target);
    EXPECT_EQ(answer.status_line, c.status_line) << c.what;
    EXPECT_EQ(answer.body, c.body) << c.what;
  }
}

TEST_F(StandInApi, PagesHoldTheMembersOfTheirOffset) {
  const struct {
    std::string target;
    std::size_t members;
    std::string_view first_member;
  } cases[] = {
      {page_target("2500-fail2", 1000), 1000, R"({"uid":101000,)"},
      {page_target("2500", 2000), 500, R"({"uid":102000,)"},
      {page_target("1000000", 999000), 1000, R"({"uid":1099000,)"},
  };
  for (const auto& c : cases) {
    const auto body = exchange(c.target).body;
    std::size_t members = 0;
    for (auto at = body.find("\"uid\":"); at != std::string::npos; at = body.find("\"uid\":", at + 1)) {
      ++members;
    }
    EXPECT_EQ(members, c.members) << c.target;
    EXPECT_NE(body.find(c.first_member), std::string::npos) << c.target;
    EXPECT_TRUE(body.ends_with(",\"sex\":1}]}}") || body.ends_with(",\"sex\":2}]}}")) << c.target;
  }
}

TEST_F(StandInApi, KeepsTheConnectionForFurtherRequests) {
  Client client(port_);
  client.send(request(page_target("6", 0)) + closing_request(page_target("6", 0)));
  auto bytes = client.read_to_end();
  const auto first = take_answer(bytes);
  const auto second = take_answer(bytes);
  EXPECT_NE(first.head.find("Connection: keep-alive\r\n"), std::string::npos);
  EXPECT_EQ(first.body, group_6_page_0);
  EXPECT_EQ(second.body, group_6_page_0);
}

TEST_F(StandInApi, CloseFaultEndsTheConnectionAfterOneAnswer) {
  Client client(port_);
  client.send(request(page_target("6-close", 0)) + request(page_target("6-close", 0)));
  auto bytes = client.read_to_end();
  const auto answer = take_answer(bytes);
  EXPECT_NE(answer.head.find("Connection: close\r\n"), std::string::npos);
  EXPECT_EQ(answer.body, group_6_page_0);
  EXPECT_EQ(bytes, "") << "a second answer arrived";
}

TEST_F(StandInApi, ChunkedFaultSendsTheSameBodyInSeveralChunks) {
  Client client(port_);
  client.send(closing_request(page_target("6-chunked", 0)));
  const auto bytes = client.read_to_end();
  const auto head_end = bytes.find("\r\n\r\n");
  ASSERT_NE(head_end, std::string::npos);
  EXPECT_NE(bytes.substr(0, head_end).find("Transfer-Encoding: chunked"), std::string::npos);
  EXPECT_EQ(bytes.substr(0, head_end).find("Content-Length"), std::string::npos);
  int chunks = 0;
  EXPECT_EQ(dechunk(std::string_view(bytes).substr(head_end + 4), &chunks), group_6_page_0);
  EXPECT_GT(chunks, 1);
}

TEST_F(StandInApi, CookieFaultAsksLaterPagesForTheSessionCookie) {
  const auto first = exchange(page_target("2500-cookie", 0));
  const auto at = first.head.find("Set-Cookie: session=");
  ASSERT_NE(at, std::string::npos);
  const auto value_end = first.head.find(';', at);
  const auto session = first.head.substr(at + 12, value_end - at - 12);
  EXPECT_EQ(first.head.substr(value_end, 9), "; path=/\r");

  const struct {
    std::string cookie_header;
    std::string_view status_line;
  } cases[] = {
      {"", "HTTP/1.1 403 Forbidden"},
      {"Cookie: session=forged\r\n", "HTTP/1.1 403 Forbidden"},
      {"Cookie: " + session + "\r\n", "HTTP/1.1 200 OK"},
      {"Cookie: a=1; " + session + "\r\n", "HTTP/1.1 200 OK"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(exchange(page_target("2500-cookie", 1000), c.cookie_header).status_line,
              c.status_line)
        << c.cookie_header;
  }
}

TEST_F(StandInApi, DropFaultClosesBeforeTheStatusLine) {
  Client client(port_);
  client.send(request(page_target("2500-drop1", 1000)));
  EXPECT_EQ(client.read_to_end(), "");
}

TEST_F(StandInApi, StallFaultHoldsOnlyItsOwnConnection) {
  Client stalled(port_);
  stalled.send(request(page_target("2500-stall1", 1000)));
  EXPECT_EQ(exchange(page_target("2500-stall1", 0)).status_line, "HTTP/1.1 200 OK");
  EXPECT_TRUE(stalled.silent_for(300));
}

std::string run_expect(const std::string& group_id, int* exit_code) {
  const auto command = std::string(STAND_IN_API) + " --expect '" + group_id + "' 2>/dev/null";
  FILE* pipe = ::popen(command.c_str(), "r");
  std::string out;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  *exit_code = WEXITSTATUS(::pclose(pipe));
  return out;
}

TEST(StandInExpect, SmallGroupGivesTheExactWindows1251File) {
  int exit_code = -1;
  EXPECT_EQ(run_expect("6", &exit_code),
            "100000;\xC8\xE2\xE0\xED;\xC8\xE2\xE0\xED\xEE\xE2;\r\n"
            "100001;\xD8\xEE\xED;O\\\"\xCD\xE8\xEB;\r\n"
            "100002;\xC3\xEB\xE5\xE1;\xCF\xE5\xF2\xF0\xEE\xE2\\\\;\r\n"
            "100003;\xC6\xE0\xED;\xCF\xEE\xEB\xFC;\xC4\xFE\xEF\xEE\xED;\r\n"
            "100004;\xC0\xEB\xE8\xED\xE0;\xD1\xEC\xE8\xF0\xED\xEE\xE2\xE0??;\r\n"
            "100005;\xC5\xEB\xE5\xED\xE0;\xD1\xEC\xE8\xF0\xED\xEE\xE2\xE0;\r\n");
  EXPECT_EQ(exit_code, 0);
}

TEST(StandInExpect, FollowsThePagesTheRunFetches) {
  const struct {
    std::string group_id;
    int exit_code;
    std::size_t lines;
    std::string_view present;  // a line that must be there
    std::string_view absent;   // a uid that must not
  } cases[] = {
      {"20", 0, 20, "100018;\xCF\xB8\xF2\xF0;", ""},
      {"2000", 0, 2000, "\r\n101999;", "\r\n102000;"},
      {"2500-empty1", 0, 1500, "\r\n102000;", "\r\n101000;"},
      {"2500-empty0", 0, 0, "", ""},
      {"2500-status204", 0, 0, "", ""},
      {"2500-close-chunked-cookie", 0, 2500, "\r\n102499;", ""},
      {"2500-fail2", 1, 0, "", ""},
      {"2500-drop1", 1, 0, "", ""},
      {"2500-status500", 1, 0, "", ""},
      {"nosuchgroup", 1, 0, "", ""},
  };
  for (const auto& c : cases) {
    int exit_code = -1;
    const auto file = run_expect(c.group_id, &exit_code);
    EXPECT_EQ(exit_code, c.exit_code) << c.group_id;
    std::size_t lines = 0;
    for (auto at = file.find("\r\n"); at != std::string::npos; at = file.find("\r\n", at + 2)) {
      ++lines;
    }
    EXPECT_EQ(lines, c.lines) << c.group_id;
    EXPECT_NE(file.find(c.present), std::string::npos) << c.group_id;
    if (!c.absent.empty()) {
      EXPECT_EQ(file.find(c.absent), std::string::npos) << c.group_id;
    }
  }
}

}  // namespace
