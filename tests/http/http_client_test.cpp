#include "extraction/http_client.h"

#include <gtest/gtest.h>

#include <thread>

#include "tests/support/host_system.h"
#include "tests/support/loopback_ports.h"
#include "tests/support/scripted_server.h"

namespace quorix {
namespace {

using namespace std::chrono_literals;
using testing::ConnectionScript;
using testing::RecordedRequest;
using testing::ScriptedServer;
namespace server = quorix::testing;

constexpr HttpLimits short_limits{2000ms, 1000ms, 300ms};

std::string head_for(const std::string& query, const std::string& cookie_line = "") {
  return "GET /method/groups.getMembers?" + query +
         " HTTP/1.1\r\n"
         "Content-Type: text/html\r\n"
         "Host: 127.0.0.1\r\n"
         "Accept: text/html, */*\r\n"
         "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n" +
         cookie_line + "\r\n";
}

std::string page_query(const std::string& id, int page) {
  return "group_id=" + id + "&offset=" + std::to_string(page * 1000) + "&count=1000&fields=sex";
}

// The answer prefixed "body:", or the failure's message.
std::string fetch(HttpClient& client, std::string_view group_id, int page) {
  try {
    return "body:" + client.fetch_page(group_id, page);
  } catch (const std::runtime_error& e) {
    return e.what();
  }
}

HttpClient client_of(const ScriptedServer& s) { return HttpClient("127.0.0.1", s.port(), short_limits); }

const std::string ok_hello = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello";

struct FetchCase {
  const char* name;
  ConnectionScript script;
  std::string outcome;
};

class FetchOnePage : public ::testing::TestWithParam<FetchCase> {};

TEST_P(FetchOnePage, GivesTheBodyOrTheFailureMessage) {
  ScriptedServer s({GetParam().script});
  HttpClient client = client_of(s);
  EXPECT_EQ(fetch(client, "1", 0), GetParam().outcome);
  EXPECT_EQ(s.requests(), (std::vector<RecordedRequest>{{0, head_for(page_query("1", 0))}}));
}

const std::string long_field = "X: " + std::string(16385 - 4, 'x') + "\r\n";

INSTANTIATE_TEST_SUITE_P(
    Answers, FetchOnePage,
    ::testing::Values(
        FetchCase{"ContentLength", {server::read_request(), server::send(ok_hello)}, "body:hello"},
        FetchCase{"Redirect",
                  {server::read_request(), server::send("HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1/x\r\n"
                                                        "Content-Length: 3\r\n\r\nabc")},
                  "HTTP/1.1 302 Found"},
        FetchCase{"SuccessWithLocation",
                  {server::read_request(),
                   server::send("HTTP/1.1 200 OK\r\nLocation: /elsewhere\r\nContent-Length: 2\r\n\r\nok")},
                  "HTTP/1.1 200 OK"},
        FetchCase{"NotFound",
                  {server::read_request(), server::send("HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\n\r\nnope")},
                  "HTTP/1.1 404 Not Found"},
        FetchCase{"FailureWithoutReasonClosed",
                  {server::read_request(), server::send("HTTP/1.1 503\r\n\r\nbusy"), server::close_connection()},
                  "HTTP/1.1 503"},
        FetchCase{"NoContent", {server::read_request(), server::send("HTTP/1.1 204 No Content\r\n\r\n")}, "body:"},
        FetchCase{"ZeroLength",
                  {server::read_request(), server::send("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n")}, "body:"},
        FetchCase{"InterimHead",
                  {server::read_request(), server::send("HTTP/1.1 100 Continue\r\n\r\n"), server::pause(50ms),
                   server::send(ok_hello)},
                  "body:hello"},
        FetchCase{"StatusWithoutReason",
                  {server::read_request(), server::send("HTTP/1.1 200\r\nContent-Length: 2\r\n\r\nok")}, "body:ok"},
        FetchCase{"Chunked",
                  {server::read_request(),
                   server::send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4;ext=1\r\n{\"re\r\n"
                                "3\r\nsp\"\r\n0\r\nExpires: 0\r\n\r\n")},
                  "body:{\"resp\""},
        FetchCase{"UntilClose",
                  {server::read_request(), server::send("HTTP/1.1 200 OK\r\n\r\nto the end"),
                   server::close_connection()},
                  "body:to the end"},
        FetchCase{"ShortBody",
                  {server::read_request(), server::send("HTTP/1.1 200 OK\r\nContent-Length: 50\r\n\r\npart"),
                   server::close_connection()},
                  "body:part"},
        FetchCase{"ClosedBeforeStatusLine", {server::read_request(), server::close_connection()},
                  "Connection Closed Gracefully."},
        FetchCase{"ClosedInChunk",
                  {server::read_request(),
                   server::send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10\r\nonly"),
                   server::close_connection()},
                  "Connection Closed Gracefully."},
        FetchCase{"ClosedInSuccessHead",
                  {server::read_request(), server::send("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n"),
                   server::close_connection()},
                  "Undefined situation"},
        FetchCase{"ClosedInFailureHead",
                  {server::read_request(), server::send("HTTP/1.1 500 Oops\r\nContent-"), server::close_connection()},
                  "HTTP/1.1 500 Oops"},
        FetchCase{"LineTooLong", {server::read_request(), server::send("HTTP/1.1 200 OK\r\n" + long_field + "\r\n")},
                  "Max line length exceeded."},
        FetchCase{"StalledSuccessBody",
                  {server::read_request(), server::send("HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nabc"),
                   server::pause(5s)},
                  "Read Timeout"},
        FetchCase{"StalledHead", {server::read_request(), server::pause(5s)}, "Read Timeout"},
        FetchCase{"StalledFailureBody",
                  {server::read_request(), server::send("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nabc"),
                   server::pause(5s)},
                  "Read Timeout"},
        FetchCase{"SlowFailureBody",
                  {server::read_request(), server::send("HTTP/1.1 404 Not Found\r\nContent-Length: 3\r\n\r\n"),
                   server::pause(150ms), server::send("a"), server::pause(150ms), server::send("b"),
                   server::pause(150ms), server::send("c")},
                  "HTTP/1.1 404 Not Found"}),
    [](const auto& test) { return std::string(test.param.name); });

struct TargetCase {
  const char* name;
  std::string group_id;
  std::string query;
};

class PageRequest : public ::testing::TestWithParam<TargetCase> {};

TEST_P(PageRequest, SendsTheIdentifierSafelyOnTheRequestLine) {
  ScriptedServer s({{server::read_request(), server::send(ok_hello)}});
  HttpClient client = client_of(s);
  EXPECT_EQ(fetch(client, GetParam().group_id, 0), "body:hello");
  EXPECT_EQ(s.requests(), (std::vector<RecordedRequest>{{0, head_for(GetParam().query)}}));
}

INSTANTIATE_TEST_SUITE_P(
    Identifiers, PageRequest,
    ::testing::Values(TargetCase{"Plain", "12345", page_query("12345", 0)},
                      TargetCase{"Empty", "", page_query("", 0)},
                      TargetCase{"LineBreak", "a\r\nX: y", page_query("a%0D%0AX:%20y", 0)},
                      TargetCase{"Blank", "a b", page_query("a%20b", 0)},
                      TargetCase{"Cyrillic", "\xC0\xE1", page_query("%C0%E1", 0)},
                      TargetCase{"Hash", "ab#cd", page_query("ab%23cd", 0)},
                      TargetCase{"Backslash", "ab\\cd", page_query("ab/cd", 0)},
                      TargetCase{"QueryCharacters", "a%2B&b=c?d/+", page_query("a%2B&b=c?d/+", 0)}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(HttpClient, SendsThePagesOneAfterAnotherOnOneConnection) {
  ScriptedServer s({{server::read_request(), server::send(ok_hello), server::read_request(),
                     server::send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nbye")}});
  HttpClient client = client_of(s);
  EXPECT_EQ(fetch(client, "12345", 0), "body:hello");
  EXPECT_EQ(fetch(client, "12345", 2), "body:bye");
  EXPECT_EQ(s.requests(), (std::vector<RecordedRequest>{
                              {0, "GET /method/groups.getMembers?group_id=12345&offset=0&count=1000&fields=sex "
                                  "HTTP/1.1\r\nContent-Type: text/html\r\nHost: 127.0.0.1\r\n"
                                  "Accept: text/html, */*\r\nUser-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n\r\n"},
                              {0, head_for(page_query("12345", 2))}}));
}

struct ReconnectCase {
  const char* name;
  ConnectionScript first;  // the connection that must not carry page 1
  std::string first_outcome;
};

class Reconnect : public ::testing::TestWithParam<ReconnectCase> {};

TEST_P(Reconnect, SendsTheNextPageOnANewConnection) {
  ScriptedServer s({GetParam().first, {server::read_request(), server::send(ok_hello)}});
  HttpClient client = client_of(s);
  EXPECT_EQ(fetch(client, "1", 0), GetParam().first_outcome);
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(fetch(client, "1", 1), "body:hello");
  EXPECT_EQ(s.requests(), (std::vector<RecordedRequest>{{0, head_for(page_query("1", 0))},
                                                        {1, head_for(page_query("1", 1))}}));
}

INSTANTIATE_TEST_SUITE_P(
    After, Reconnect,
    ::testing::Values(
        ReconnectCase{"ConnectionClose",
                      {server::read_request(), server::send("HTTP/1.1 200 OK\r\nConnection: Close\r\n"
                                                            "Content-Length: 2\r\n\r\nok")},
                      "body:ok"},
        ReconnectCase{"ProxyConnectionClose",
                      {server::read_request(), server::send("HTTP/1.1 404 No\r\nProxy-Connection: close\r\n"
                                                            "Content-Length: 0\r\n\r\n")},
                      "HTTP/1.1 404 No"},
        ReconnectCase{"ServerClosedIdleConnection",
                      {server::read_request(), server::send(ok_hello), server::close_connection()}, "body:hello"},
        ReconnectCase{"BodyUntilClose",
                      {server::read_request(), server::send("HTTP/1.1 200 OK\r\n\r\nall"), server::close_connection()},
                      "body:all"},
        ReconnectCase{"ClosedGracefully", {server::read_request(), server::close_connection()},
                      "Connection Closed Gracefully."},
        ReconnectCase{"ReadTimeout", {server::read_request(), server::send("HTTP/1.1 200 OK\r\n")},
                      "Read Timeout"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(HttpClient, ReportsAResetConnectionAndConnectsAnew) {
  if (testing::running_under_wine()) GTEST_SKIP() << "Wine reads a reset connection as closed";
  ScriptedServer s({{server::read_request(), server::send("HTTP/1.1 200 OK\r\n"), server::pause(50ms),
                     server::reset_connection()},
                    {server::read_request(), server::send(ok_hello)}});
  HttpClient client = client_of(s);
  EXPECT_EQ(fetch(client, "1", 0), "Socket Error # 10054\r\nConnection reset by peer.");
  EXPECT_EQ(fetch(client, "1", 1), "body:hello");
  EXPECT_EQ(s.connections_accepted(), 2);
}

TEST(HttpClient, KeepsTheConnectionAfterADrainedFailureAnswer) {
  ScriptedServer s({{server::read_request(), server::send("HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\n\r\nnope"),
                     server::read_request(), server::send(ok_hello)}});
  HttpClient client = client_of(s);
  EXPECT_EQ(fetch(client, "1", 0), "HTTP/1.1 404 Not Found");
  EXPECT_EQ(fetch(client, "1", 1), "body:hello");
  EXPECT_EQ(s.connections_accepted(), 1);
}

struct CookieCase {
  const char* name;
  std::string first_answer;
  std::string cookie_line;  // in the request for the next page
};

class CarriedCookies : public ::testing::TestWithParam<CookieCase> {};

TEST_P(CarriedCookies, GoWithTheNextPage) {
  ScriptedServer s({{server::read_request(), server::send(GetParam().first_answer), server::read_request(),
                     server::send(ok_hello)}});
  HttpClient client = client_of(s);
  fetch(client, "1", 0);
  EXPECT_EQ(fetch(client, "1", 1), "body:hello");
  ASSERT_EQ(s.requests().size(), 2u);
  EXPECT_EQ(s.requests()[1].bytes, head_for(page_query("1", 1), GetParam().cookie_line));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, CarriedCookies,
    ::testing::Values(
        CookieCase{"RootPath", "HTTP/1.1 200 OK\r\nSet-cookie: a=1; path=/\r\nContent-Length: 0\r\n\r\n",
                   "Cookie: a=1\r\n"},
        CookieCase{"WithoutPath", "HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nContent-Length: 0\r\n\r\n", ""},
        CookieCase{"BothFieldsLongerPathFirst",
                   "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSET-COOKIE2: b=2; Path=\"/method/\"; Version=1\r\n"
                   "set-cookie: c=3\r\nContent-Length: 0\r\n\r\n",
                   "Cookie: b=2; a=1\r\n"},
        CookieCase{"FromAFailureAnswer",
                   "HTTP/1.1 403 Forbidden\r\nSet-Cookie: s=x; path=/; domain=127.0.0.1\r\nContent-Length: 0\r\n\r\n",
                   "Cookie: s=x\r\n"},
        CookieCase{"OtherDomain", "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/; domain=vk.com\r\nContent-Length: 0\r\n\r\n",
                   ""}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(HttpClient, KeepsCookiesAcrossConnections) {
  ScriptedServer s(
      {{server::read_request(), server::send("HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nConnection: close\r\n\r\n"),
        server::close_connection()},
       {server::read_request(), server::send(ok_hello)}});
  HttpClient client = client_of(s);
  EXPECT_EQ(fetch(client, "1", 0), "body:");
  EXPECT_EQ(fetch(client, "1", 1), "body:hello");
  EXPECT_EQ(s.requests().back(), (RecordedRequest{1, head_for(page_query("1", 1), "Cookie: a=1\r\n")}));
}

TEST(HttpClient, ReportsARefusedConnection) {
  HttpClient client("127.0.0.1", testing::unused_port(), short_limits);
  EXPECT_EQ(fetch(client, "1", 0), "Socket Error # 10061\r\nConnection refused.");
}

TEST(HttpClient, GivesUpConnectingAtTheLimit) {
  testing::StalledListener stalled;
  HttpClient client("127.0.0.1", stalled.port(), {300ms, 1000ms, 300ms});
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(fetch(client, "1", 0), "Socket Error # 10060\r\nConnection timed out.");
  EXPECT_LT(std::chrono::steady_clock::now() - start, 900ms);
}

TEST(HttpClient, ReportsAHostThatDoesNotResolve) {
  HttpClient client("nonexistent.invalid", 80, short_limits);
  EXPECT_EQ(fetch(client, "1", 0), "Socket Error # 11001\r\nHost not found.");
}

TEST(HttpClient, CarriesManyLargePagesOverOneConnection) {
  constexpr int pages = 1000;
  std::string body(70000, 'm');
  ConnectionScript script;
  for (int page = 0; page < pages; ++page) {
    body[page] = 'x';
    script.push_back(server::read_request());
    script.push_back(server::send("HTTP/1.1 200 OK\r\nContent-Length: 70000\r\n\r\n" + body));
  }
  ScriptedServer s({script}, {.piece_size = 1 << 16, .piece_pause = 0us});
  HttpClient client = client_of(s);
  for (int page = 0; page < pages; ++page) {
    const std::string answer = client.fetch_page("1", page);
    ASSERT_EQ(answer.size(), body.size());
    ASSERT_EQ(answer[page], 'x');
    ASSERT_EQ(answer[page + 1], 'm');
  }
  EXPECT_EQ(s.connections_accepted(), 1);
}

}  // namespace
}  // namespace quorix
