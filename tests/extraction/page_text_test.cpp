#include "extraction/page_text.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace quorix {
namespace {

std::vector<std::string> member_lines(std::string_view page_text) {
  std::vector<std::string> lines;
  MemberScanner scanner(page_text);
  MemberFields fields;
  while (scanner.next(fields)) {
    std::string line;
    append_member_line(line, fields);
    lines.push_back(line);
  }
  return lines;
}

struct LinesCase {
  const char* page_text;
  std::vector<std::string> lines;
};

class MemberLines : public testing::TestWithParam<LinesCase> {};

TEST_P(MemberLines, InOrder) { EXPECT_EQ(member_lines(GetParam().page_text), GetParam().lines); }

INSTANTIATE_TEST_SUITE_P(
    PageTexts, MemberLines,
    testing::Values(
        LinesCase{R"({"uid":1,"first_name":"A","last_name":"B","sex":2})", {"1;A;B;"}},
        LinesCase{R"({"uid":1,"first_name":"","last_name":""})", {"1;;;"}},
        LinesCase{R"({"uid":1,"first_name":"A","last_name":"B"},{"uid":1,"first_name":"A","last_name":"B"})",
                  {"1;A;B;", "1;A;B;"}},
        LinesCase{R"({"uid":6,"first_name":"Al \"Bo\" Cy","last_name":"Dee"})", {R"(6;Al \"Bo\" Cy;Dee;)"}},
        // An escaped quote stays inside the last name; an escaped backslash does not.
        LinesCase{R"({"uid":5,"first_name":"Ann","last_name":"O\"Neil"},{"uid":6,"first_name":"C","last_name":"D"})",
                  {R"(5;Ann;O\"Neil;)", "6;C;D;"}},
        LinesCase{R"({"uid":5,"first_name":"A","last_name":"B\\"},{"uid":6,"first_name":"C","last_name":"D"})",
                  {R"(5;A;B\\;)", "6;C;D;"}},
        LinesCase{R"({"uid":5,"first_name":"A","last_name":"B\\\"C"})", {R"(5;A;B\\\"C;)"}},
        LinesCase{R"({"uid":5,"first_name":"A","last_name":"\\"})", {R"(5;A;\\;)"}},
        LinesCase{R"({"uid":5,"first_name":"A","last_name":"\"})", {}},
        LinesCase{R"({"uid":1,"first_name":"\u0410\u043d\u043d\u0430","last_name":"B\/C"})",
                  {R"(1;\u0410\u043d\u043d\u0430;B\/C;)"}},
        LinesCase{R"({"uid":1,"first_name":"A","last_name":"X;Y"})", {"1;A;X;Y;"}},
        LinesCase{R"({"uid":3,"k":0,"first_name":"E","last_name":"F"})", {R"(3,"k":0;E;F;)"}},
        LinesCase{R"({"uid":7,"last_name":"X"},{"uid":8,"first_name":"C","last_name":"D"})",
                  {R"(7,"last_name":"X"},{"uid":8;C;D;)"}},
        LinesCase{R"({"first_name":"A","last_name":"B","uid":9},{"uid":10,"first_name":"C","last_name":"D"})",
                  {R"(9},{"uid":10;C;D;)"}},
        LinesCase{R"({"first_name":"A","last_name":"B","uid":9})", {}},
        LinesCase{R"({"guid":"q","uid":1,"first_name":"A","last_name":"B"})", {R"("q","uid":1;A;B;)"}},
        LinesCase{R"({"uid": 1, "first_name": "A", "last_name": "B"})", {}},
        LinesCase{R"({"UID":1,"first_name":"A","last_name":"B"})", {}},
        LinesCase{"{\"uid\":1,\"first_name\":\"A\r\nB\",\"last_name\":\"C\nD\"}", {"1;A\r\nB;C\nD;"}},
        // The next search starts right after the closing quote, never inside the match.
        LinesCase{R"({"uid":1,"first_name":"A","last_name":"x uid":2,"first_name":"C","last_name":"D"})",
                  {"1;A;x uid;"}},
        LinesCase{R"({"uid":1,"first_name":"A","last_name":"B","sub":{"uid":2,"first_name":"C","last_name":"D"}})",
                  {"1;A;B;", "2;C;D;"}},
        LinesCase{R"({"uid":1,"first_name":"A","last_name":"B"},{"uid":2,"first_name":"C"})", {"1;A;B;"}},
        LinesCase{"", {}}));

TEST(MemberScanner, StaysDoneAfterTheLastMatch) {
  MemberScanner scanner(R"({"uid":1,"first_name":"A","last_name":"B"})");
  MemberFields fields;
  EXPECT_TRUE(scanner.next(fields));
  EXPECT_FALSE(scanner.next(fields));
  EXPECT_FALSE(scanner.next(fields));
}

// Pages that make a scan restarted at every `uid":` take quadratic time; each
// holds one member first, which must still be found.
class MemberScannerLinearTime : public testing::TestWithParam<const char*> {};

TEST_P(MemberScannerLinearTime, HugePageWithoutAFurtherMatch) {
  std::string page_text = R"({"uid":1,"first_name":"A","last_name":"B"})";
  for (int i = 0; i < 200000; ++i) page_text += GetParam();
  EXPECT_EQ(member_lines(page_text), std::vector<std::string>{"1;A;B;"});
}

INSTANTIATE_TEST_SUITE_P(Repeats, MemberScannerLinearTime,
                         testing::Values(R"(uid":)", R"({"uid":1,"first_name":")",
                                         R"({"uid":1,"first_name":"A"})"));

TEST(MemberLine, AppendsWithoutLineEnd) {
  std::string out = "x";
  append_member_line(out, MemberFields{"1", "A", "B"});
  EXPECT_EQ(out, "x1;A;B;");
}

struct CountCase {
  const char* page_text;
  std::optional<std::int32_t> count;
};

class MemberCount : public testing::TestWithParam<CountCase> {};

TEST_P(MemberCount, Read) { EXPECT_EQ(member_count(GetParam().page_text), GetParam().count); }

INSTANTIATE_TEST_SUITE_P(
    PageTexts, MemberCount,
    testing::Values(CountCase{R"({"response":{"count":57,"users":[]}})", 57},
                    CountCase{R"({"response":{"count": 57,"users":[]}})", 57},
                    CountCase{R"({"response":{"count":$39,"users":[]}})", 57},
                    CountCase{R"({"response":{"count":-2147483648,")", INT32_MIN},
                    CountCase{R"(x{"response":{"count":3,"a":{"response":{"count":4,")", 3},
                    CountCase{R"({"response":{"count":7}})", std::nullopt},
                    CountCase{R"({"error":{"error_code":125}})", std::nullopt},
                    CountCase{R"({"Response":{"count":7,")", std::nullopt},
                    CountCase{"", std::nullopt}));

struct CountFailure {
  const char* page_text;
  const char* message;
};

class MemberCountFailure : public testing::TestWithParam<CountFailure> {};

TEST_P(MemberCountFailure, Message) {
  try {
    member_count(GetParam().page_text);
    ADD_FAILURE() << "no failure for " << GetParam().page_text;
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    PageTexts, MemberCountFailure,
    testing::Values(CountFailure{R"({"response":{"count":7}},"x":1)", "'7}}' is not a valid integer value"},
                    CountFailure{R"({"response":{"count":,")", "'' is not a valid integer value"},
                    CountFailure{R"({"response":{"count":2147483648,")", "'2147483648' is not a valid integer value"},
                    CountFailure{R"({"response":{"count":57 ,")", "'57 ' is not a valid integer value"},
                    CountFailure{"{\"response\":{\"count\":1\n2,\"", "'1\n2' is not a valid integer value"}));

TEST(InvalidGroupMarker, FoundAnywhere) {
  EXPECT_TRUE(has_invalid_group_marker(R"({"error":{"error_code":125,"error_msg":"Invalid group id","x":1}})"));
  EXPECT_FALSE(has_invalid_group_marker(R"({"error":{"error_msg":"invalid group id"}})"));
  EXPECT_FALSE(has_invalid_group_marker(R"({"error_msg": "Invalid group id"})"));
}

using namespace std::string_literals;

TEST(ConvertAnswer, CyrillicToCodePage) {
  EXPECT_EQ(convert_answer("\xD0\x90\xD0\xBD\xD0\xBD\xD0\xB0"), "\xC0\xED\xED\xE0");
  EXPECT_EQ(convert_answer("\xC3\xA9\xE2\x82\xAC"), "e\x88");
  EXPECT_EQ(convert_answer(""), "");
}

TEST(ConvertAnswer, NeverHoldsAZeroByte) {
  EXPECT_EQ(convert_answer("a\0b\xC0\x80"s), "a?b?");
}

// A fault in the UTF-8 of one name must leave every member of the page.
struct FaultCase {
  const char* name;
  std::string answer;
  std::string first_line;
};

class ConvertAnswerFault : public testing::TestWithParam<FaultCase> {};

TEST_P(ConvertAnswerFault, KeepsEveryMember) {
  const auto page_text = convert_answer(GetParam().answer);
  EXPECT_EQ(page_text.find('\0'), std::string::npos);
  EXPECT_EQ(member_count(page_text), 3);
  const std::vector<std::string> lines = member_lines(page_text);
  EXPECT_EQ(lines, (std::vector<std::string>{"1;\xC0;\xC1;", GetParam().first_line, "3;\xC2;\xC3;"}));
}

std::string page_with_second_member(const std::string& first_name) {
  return "{\"response\":{\"count\":3,\"users\":["
         "{\"uid\":1,\"first_name\":\"\xD0\x90\",\"last_name\":\"\xD0\x91\"},"
         "{\"uid\":2,\"first_name\":\"" + first_name + "\",\"last_name\":\"Z\"},"
         "{\"uid\":3,\"first_name\":\"\xD0\x92\",\"last_name\":\"\xD0\x93\"}]}}";
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ConvertAnswerFault,
    testing::Values(
        // Windows may give one "?" per surrogate, so the pair shows as "??".
        FaultCase{"Emoji", page_with_second_member("A\xF0\x9F\x98\x80" "B"), "2;A??B;Z;"},
        FaultCase{"StrayContinuation", page_with_second_member("A\x80" "B"), "2;A?B;Z;"},
        FaultCase{"OverlongSlash", page_with_second_member("A\xC0\xAF" "B"), "2;A?B;Z;"},
        FaultCase{"EncodedSurrogate", page_with_second_member("A\xED\xA0\x80" "B"), "2;A?B;Z;"},
        FaultCase{"CutBeforeQuote", page_with_second_member("A\xD0"), "2;A?;Z;"},
        FaultCase{"ZeroByte", page_with_second_member("A"s + '\0' + "B"), "2;A?B;Z;"}),
    [](const testing::TestParamInfo<FaultCase>& case_info) { return std::string(case_info.param.name); });

TEST(ConvertAnswer, SequenceCutAtTheEndKeepsThePage) {
  const auto page_text = convert_answer(page_with_second_member("A") + "\xD0");
  EXPECT_EQ(member_lines(page_text).size(), 3u);
  EXPECT_TRUE(page_text.ends_with("]}}?"));
}

}  // namespace
}  // namespace quorix
