#include "extraction/http_answer_reader.h"

#include <gtest/gtest.h>

#include "tests/http/piece_source.h"

namespace quorix {
namespace {

using testing::PieceSource;
using AtEnd = PieceSource::AtEnd;
constexpr std::chrono::milliseconds wait{100};

// The body of the answer, or the failure's message.
std::string read_answer(const std::string& bytes, std::size_t piece, AtEnd at_end = AtEnd::close) {
  PieceSource source(bytes, piece, at_end);
  AnswerReader reader(source);
  try {
    const AnswerHead head = reader.read_head(wait);
    if (!head.complete) return "incomplete head";
    return "body:" + reader.read_body(head, wait);
  } catch (const AnswerError& e) {
    return e.what();
  }
}

struct AnswerCase {
  const char* name;
  std::string bytes;
  std::string outcome;
  AtEnd at_end = AtEnd::close;
};

class ReadAnswer : public ::testing::TestWithParam<std::tuple<AnswerCase, std::size_t>> {};

TEST_P(ReadAnswer, GivesTheBodyOrTheFailureWhateverPiecesTheBytesComeIn) {
  const auto& [answer, piece] = GetParam();
  EXPECT_EQ(read_answer(answer.bytes, piece, answer.at_end), answer.outcome);
}

const std::string long_line(max_head_line, 'x');

const AnswerCase answers[] = {
    {"ContentLength", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello", "body:hello", AtEnd::stall},
    {"ContentLengthLeavesTheRest", "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nhello", "body:he"},
    {"LowerCaseNames", "HTTP/1.1 200 OK\r\ncontent-length:  3 \r\n\r\nabcdef", "body:abc"},
    {"LineEndsWithoutCR", "HTTP/1.1 200 OK\nContent-Length: 3\n\nabc", "body:abc", AtEnd::stall},
    {"ShortBodySucceeds", "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nabc", "body:abc"},
    {"ZeroLength", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", "body:", AtEnd::stall},
    {"NoContent", "HTTP/1.1 204 No Content\r\n\r\n", "body:", AtEnd::stall},
    {"NoContentIgnoresLength", "HTTP/1.1 204 No Content\r\nContent-Length: 4\r\n\r\n", "body:", AtEnd::stall},
    {"UntilClose", "HTTP/1.1 200 OK\r\n\r\nall of\r\nit", "body:all of\r\nit"},
    {"UnreadableLengthMeansUntilClose", "HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\nabc", "body:abc"},
    {"BodyBytesKeptRaw", "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\n" + std::string("\0\r\n\xC0", 4),
     std::string("body:\0\r\n\xC0", 9)},
    {"Chunked",
     "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n1A;name=\"v\"\r\n"
     "abcdefghijklmnopqrstuvwxyz\r\n0\r\nTrailer: x\r\nMore: y\r\n\r\n",
     "body:helloabcdefghijklmnopqrstuvwxyz", AtEnd::stall},
    {"ChunkedOverLength",
     "HTTP/1.1 200 OK\r\nContent-Length: 3\r\nTransfer-Encoding: Chunked\r\n\r\n2\r\nab\r\n0\r\n\r\n", "body:ab",
     AtEnd::stall},
    {"ChunkSizeWithBlanksAndLeadingZeros",
     "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n0002 \r\nab\r\n0\r\n\r\n", "body:ab", AtEnd::stall},
    {"InterimHeadDropped", "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok", "body:ok"},
    {"StatusWithoutReason", "HTTP/1.1 200\r\nContent-Length: 2\r\n\r\nok", "body:ok"},
    {"LongestLineAllowed", "HTTP/1.1 200 OK\r\nX: " + long_line.substr(4) + "\r\n\r\n", "body:"},
    {"NothingAtAll", "", "Connection Closed Gracefully."},
    {"ClosedInStatusLine", "HTTP/1.1 2", "Connection Closed Gracefully."},
    {"ClosedAfterInterimHead", "HTTP/1.1 100 Continue\r\n\r\n", "Connection Closed Gracefully."},
    {"ClosedInHead", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n", "incomplete head"},
    {"ClosedInChunk", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhel", "Connection Closed Gracefully."},
    {"ClosedAfterChunk", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n",
     "Connection Closed Gracefully."},
    {"ClosedInTrailers", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n0\r\nX: 1\r\n",
     "Connection Closed Gracefully."},
    {"LineTooLong", "HTTP/1.1 200 OK\r\nX: " + long_line.substr(3) + "\r\n\r\n", "Max line length exceeded."},
    {"LineTooLongWithoutEnd", "HTTP/1.1 200 OK\r\nX: " + long_line + long_line, "Max line length exceeded.",
     AtEnd::stall},
    {"ChunkLineTooLong", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1;" + long_line + "\r\n",
     "Max line length exceeded.", AtEnd::stall},
    {"ChunkSizeNotHex", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n", "Invalid chunk size.",
     AtEnd::stall},
    {"ChunkSizeEmpty", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n\r\n", "Invalid chunk size.",
     AtEnd::stall},
    {"ChunkSizeAbsurd", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nFFFFFFFFFFFFFFFFF1\r\n",
     "Invalid chunk size.", AtEnd::stall},
    {"StallBeforeStatusLine", "", "Read Timeout", AtEnd::stall},
    {"StallInHead", "HTTP/1.1 200 OK\r\n", "Read Timeout", AtEnd::stall},
    {"StallInBody", "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nabc", "Read Timeout", AtEnd::stall},
    {"StallInUntilCloseBody", "HTTP/1.1 200 OK\r\n\r\nabc", "Read Timeout", AtEnd::stall},
};

INSTANTIATE_TEST_SUITE_P(Answers, ReadAnswer,
                         ::testing::Combine(::testing::ValuesIn(answers), ::testing::Values(1u, 7u, 65536u)),
                         [](const auto& test) {
                           return std::string(std::get<0>(test.param).name) + "_In" +
                                  std::to_string(std::get<1>(test.param));
                         });

TEST(AnswerReader, RefusesAHeadWithoutEnd) {
  std::string bytes = "HTTP/1.1 200 OK\r\n";
  const std::string line = "X: " + std::string(1000, 'y') + "\r\n";
  while (bytes.size() < 2 * max_head_size) bytes += line;
  EXPECT_EQ(read_answer(bytes, 65536, AtEnd::stall), "Max header size exceeded.");
}

TEST(AnswerReader, ReadsALargeBodyInLargeBlocks) {
  const std::string body(70000, 'b');
  PieceSource source("HTTP/1.1 200 OK\r\nContent-Length: 70000\r\n\r\n" + body, 1 << 20);
  AnswerReader reader(source);
  EXPECT_EQ(reader.read_body(reader.read_head(wait), wait), body);
  EXPECT_LE(source.receives(), 3);
}

TEST(AnswerReader, SkipsAFailureBodyAndStopsAtItsEnd) {
  PieceSource source("HTTP/1.1 404 Not Found\r\nContent-Length: 3\r\n\r\nabcNEXT", 2, AtEnd::stall);
  AnswerReader reader(source);
  reader.skip_body(reader.read_head(wait), wait);
  EXPECT_FALSE(reader.source_ended());
}

TEST(AnswerReader, NoticesTheEndOfTheSource) {
  PieceSource source("HTTP/1.1 200 OK\r\n\r\nabc", 2);
  AnswerReader reader(source);
  EXPECT_EQ(reader.read_body(reader.read_head(wait), wait), "abc");
  EXPECT_TRUE(reader.source_ended());
}

struct HeadCase {
  std::string head;
  int status;
  bool succeeded;
  bool asks_to_close;
};

class AnswerHeadRules : public ::testing::TestWithParam<HeadCase> {};

TEST_P(AnswerHeadRules, ReadStatusLocationAndConnection) {
  PieceSource source(GetParam().head + "\r\n", 5);
  AnswerReader reader(source);
  const AnswerHead head = reader.read_head(wait);
  EXPECT_EQ(head.status, GetParam().status);
  EXPECT_EQ(head.succeeded(), GetParam().succeeded);
  EXPECT_EQ(head.asks_to_close(), GetParam().asks_to_close);
}

INSTANTIATE_TEST_SUITE_P(
    Heads, AnswerHeadRules,
    ::testing::Values(HeadCase{"HTTP/1.1 200 OK\r\n", 200, true, false},
                      HeadCase{"HTTP/1.0 299 Fine\r\n", 299, true, false},
                      HeadCase{"HTTP/1.1 200 OK\r\nLocation: http://x/\r\n", 200, false, false},
                      HeadCase{"HTTP/1.1 200 OK\r\nLocation: \r\n", 200, true, false},
                      HeadCase{"HTTP/1.1 302 Found\r\nLocation: http://x/\r\n", 302, false, false},
                      HeadCase{"HTTP/1.1 304 Not Modified\r\n", 304, false, false},
                      HeadCase{"HTTP/1.1 404 Not Found\r\n", 404, false, false},
                      HeadCase{"HTTP/1.1 199 Odd\r\n", 199, false, false},
                      HeadCase{"HTTP/1.1 OK\r\n", -1, false, false},
                      HeadCase{"HTTP/1.1 200OK\r\n", -1, false, false},
                      HeadCase{"HTTP/1.1 99999999999 Big\r\n", -1, false, false},
                      HeadCase{"HTTP/1.1\r\n", -1, false, false},
                      HeadCase{"HTTP/1.1 200 OK\r\nConnection: CLOSE\r\n", 200, true, true},
                      HeadCase{"HTTP/1.1 200 OK\r\nProxy-Connection: close\r\n", 200, true, true},
                      HeadCase{"HTTP/1.1 200 OK\r\nConnection: keep-alive\r\n", 200, true, false},
                      HeadCase{"HTTP/1.0 200 OK\r\n", 200, true, false}));

}  // namespace
}  // namespace quorix
