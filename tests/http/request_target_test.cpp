#include "extraction/request_target.h"

#include <gtest/gtest.h>

namespace quorix {
namespace {

struct PathCase {
  std::string group_id;
  int page;
  std::string path;
};

class PagePath : public ::testing::TestWithParam<PathCase> {};

TEST_P(PagePath, IsBuiltFromIdentifierAndOffset) {
  EXPECT_EQ(page_path(GetParam().group_id, GetParam().page), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PagePath,
    ::testing::Values(
        PathCase{"12345", 0, "/method/groups.getMembers?group_id=12345&offset=0&count=1000&fields=sex"},
        PathCase{"12345", 2, "/method/groups.getMembers?group_id=12345&offset=2000&count=1000&fields=sex"},
        PathCase{"", 0, "/method/groups.getMembers?group_id=&offset=0&count=1000&fields=sex"},
        PathCase{" a b ", 1, "/method/groups.getMembers?group_id= a b &offset=1000&count=1000&fields=sex"},
        PathCase{"x", 3000000, "/method/groups.getMembers?group_id=x&offset=3000000000&count=1000&fields=sex"}));

struct TargetCase {
  std::string path;
  std::string target;
};

class RequestTarget : public ::testing::TestWithParam<TargetCase> {};

TEST_P(RequestTarget, HoldsOnlyBytesThatMayStandOnTheRequestLine) {
  EXPECT_EQ(request_target(GetParam().path), GetParam().target);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, RequestTarget,
    ::testing::Values(
        TargetCase{"/m?group_id=a\r\nHost: x&offset=0", "/m?group_id=a%0D%0AHost:%20x&offset=0"},
        TargetCase{"/m?group_id=a b&offset=0", "/m?group_id=a%20b&offset=0"},
        TargetCase{"/m?group_id=\xC0\xFF&offset=0", "/m?group_id=%C0%FF&offset=0"},
        TargetCase{"/m?group_id=ab#cd&offset=0", "/m?group_id=ab%23cd&offset=0"},
        TargetCase{"/m?group_id=ab\\cd&offset=0", "/m?group_id=ab/cd&offset=0"},
        TargetCase{"/m?group_id=%41+&x=?/&offset=0", "/m?group_id=%41+&x=?/&offset=0"},
        TargetCase{std::string("/m?g=\x00\x1F\x7F", 8), "/m?g=%00%1F%7F"},
        TargetCase{"/m?g=~!$'()*,;:@[]{}|^`\"<>", "/m?g=~!$'()*,;:@[]{}|^`\"<>"}));

TEST(RequestHead, ListsTheFourHeadersInOrderAndEndsWithAnEmptyLine) {
  EXPECT_EQ(request_head("/method/x?a=1", "api.example", ""),
            "GET /method/x?a=1 HTTP/1.1\r\n"
            "Content-Type: text/html\r\n"
            "Host: api.example\r\n"
            "Accept: text/html, */*\r\n"
            "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
            "\r\n");
}

TEST(RequestHead, EndsTheHeadersWithTheCookieLineWhenThereAreCookies) {
  EXPECT_EQ(request_head("/t", "h", "a=1; b=2"),
            "GET /t HTTP/1.1\r\n"
            "Content-Type: text/html\r\n"
            "Host: h\r\n"
            "Accept: text/html, */*\r\n"
            "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
            "Cookie: a=1; b=2\r\n"
            "\r\n");
}

}  // namespace
}  // namespace quorix
