#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/window/form_fixture.h"
#include "window/utf16.h"

namespace {

using quorix::testing::FormFixture;
using quorix::testing::members_page;

const char* const wrong_reference = "Введена неправильная ссылка или ID группы";

// The log panel's lines as UTF-8, without the empty text after the last CR LF.
std::vector<std::string> log_lines(const TForm1& form) {
  const std::string text = quorix::utf8_from_utf16(form.Memo3.text());
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

class RunTest : public ::testing::Test, protected FormFixture {
 protected:
  void start(const std::u16string& reference) {
    type_input(reference);
    form->handle_event([&] { form->Button1Click(); });
  }
  // Start: prompt, input line and picture button in start mode; log hidden.
  void expect_start_arrangement() const {
    EXPECT_TRUE(form->Label1.visible());
    EXPECT_TRUE(form->Edit1.visible());
    EXPECT_TRUE(form->Image1.visible());
    EXPECT_EQ(form->Image1.tag(), 1);
    EXPECT_FALSE(form->Memo3.visible());
  }
  // Running: the log panel over the whole upper area, nothing else in view.
  void expect_running_arrangement() const {
    EXPECT_FALSE(form->Label1.visible());
    EXPECT_FALSE(form->Edit1.visible());
    EXPECT_FALSE(form->Image1.visible());
    EXPECT_EQ(form->Image1.tag(), 1);
    EXPECT_TRUE(form->Memo3.visible());
    EXPECT_EQ(form->Memo3.bounds(), (quorix::Bounds{2, 2, 278, 106}));
  }
  void expect_result_ready_arrangement() const {
    EXPECT_FALSE(form->Label1.visible());
    EXPECT_FALSE(form->Edit1.visible());
    EXPECT_TRUE(form->Image1.visible());
    EXPECT_EQ(form->Image1.tag(), 2);
    EXPECT_TRUE(form->Memo3.visible());
    EXPECT_EQ(form->Memo3.bounds(), (quorix::Bounds{2, 2, 278, 50}));
  }
};

struct PagingCase {
  int count;
  std::vector<int> pages;
};

void PrintTo(const PagingCase& c, std::ostream* out) { *out << "count " << c.count; }

class Paging : public RunTest, public ::testing::WithParamInterface<PagingCase> {};

TEST_P(Paging, PagesFollowFromTheFirstPageCountAlone) {
  const PagingCase& c = GetParam();
  for (int page = 0; page <= c.count / 1000 + 1; ++page)
    api->answers[page] = members_page(page == 0 ? c.count : 999999, page * 1000, 1);
  start(u"club42");
  EXPECT_EQ(api->fetched, c.pages);
  EXPECT_TRUE(screen.error_reports.empty());
  expect_result_ready_arrangement();
}

INSTANTIATE_TEST_SUITE_P(Counts, Paging,
                         ::testing::Values(PagingCase{0, {0}}, PagingCase{1000, {0}},
                                           PagingCase{1001, {0, 1}}, PagingCase{2000, {0, 1, 2}},
                                           PagingCase{2500, {0, 1, 2}}),
                         [](const auto& test) { return "Count" + std::to_string(test.param.count); });

TEST_F(RunTest, ProgressCountsMemberLinesNotTheReportedCount) {
  api->answers[0] = members_page(1500, 1, 3);
  api->answers[1] = members_page(1500, 4, 2);
  start(u"http://vk.example/club42");
  EXPECT_EQ(log_lines(*form), (std::vector<std::string>{
                                  "Начинается процесс извлечения ID",
                                  "Количество пользователей группы: 1500",
                                  "Извлечено 3 ID из 1500",
                                  "Извлечено 5 ID из 1500",
                                  "Извлечение завершено, можно сохранить результат",
                              }));
  EXPECT_EQ(form->Memo2.line_count(), 5);
  EXPECT_EQ(form->Memo2.text(), "1;Ann;Lee;\r\n2;Ann;Lee;\r\n3;Ann;Lee;\r\n4;Ann;Lee;\r\n5;Ann;Lee;\r\n");
  EXPECT_EQ(form->Memo1.text(), members_page(1500, 4, 2));
}

TEST_F(RunTest, BlankReferenceStartsNothing) {
  start(u" \t ");
  EXPECT_TRUE(api->fetched.empty());
  EXPECT_TRUE(form->Memo3.text().empty());
  expect_start_arrangement();
}

TEST_F(RunTest, FailedFirstPageHidesTheLogButKeepsIt) {
  start(u"club42");
  EXPECT_EQ(screen.messages, std::vector<std::string>{wrong_reference});
  expect_start_arrangement();
  start(u"club42");
  EXPECT_EQ(log_lines(*form), (std::vector<std::string>{"Начинается процесс извлечения ID",
                                                        "Начинается процесс извлечения ID"}));
  expect_start_arrangement();
}

TEST_F(RunTest, InvalidGroupHidesAndClearsTheLog) {
  api->answers[0] = R"({"error":{"error_code":125,"error_msg":"Invalid group id"}})";
  start(u"nosuchgroup");
  EXPECT_EQ(screen.messages, std::vector<std::string>{wrong_reference});
  EXPECT_TRUE(form->Memo3.text().empty());
  expect_start_arrangement();
}

TEST_F(RunTest, PageWithoutCountFinishesWithCountZero) {
  for (const char* answer : {"", "\xD0", R"({"response":{"count":7}})"}) {
    FormFixture window;
    window.api->answers[0] = answer;
    window.type_input(u"42");
    window.form->handle_event([&] { window.form->Button1Click(); });
    const auto lines = log_lines(*window.form);
    ASSERT_EQ(lines.size(), 4u) << answer;
    EXPECT_EQ(lines[1], "Количество пользователей группы: 0");
    EXPECT_EQ(lines[2], "Извлечено 0 ID из 0");
    EXPECT_EQ(window.api->fetched, std::vector<int>{0});
    EXPECT_EQ(window.form->Image1.tag(), 2);
  }
}

TEST_F(RunTest, GroupOfNoMembersIsResultReadyWithEmptyList) {
  api->answers[0] = members_page(0, 1, 0);
  start(u"42");
  EXPECT_EQ(log_lines(*form), (std::vector<std::string>{
                                  "Начинается процесс извлечения ID",
                                  "Количество пользователей группы: 0",
                                  "Извлечено 0 ID из 0",
                                  "Извлечение завершено, можно сохранить результат",
                              }));
  EXPECT_EQ(form->Memo2.line_count(), 0);
  expect_result_ready_arrangement();
}

TEST_F(RunTest, CountThatIsNoNumberStopsInRunning) {
  api->answers[0] = R"({"response":{"count":7}},"x":1)";
  start(u"42");
  EXPECT_EQ(screen.error_reports, std::vector<std::string>{"'7}}' is not a valid integer value."});
  EXPECT_EQ(log_lines(*form), std::vector<std::string>{"Начинается процесс извлечения ID"});
  expect_running_arrangement();
}

TEST_F(RunTest, LaterPageFailureStopsInRunningForGood) {
  api->answers[0] = members_page(2500, 1, 1000);
  api->answers[1] = members_page(2500, 1001, 1000);
  start(u"42");
  EXPECT_EQ(api->fetched, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(screen.error_reports, std::vector<std::string>{"HTTP/1.1 404 Not Found."});
  EXPECT_EQ(form->Memo2.line_count(), 2000);
  EXPECT_EQ(log_lines(*form).back(), "Извлечено 2000 ID из 2500");
  expect_running_arrangement();
}

TEST_F(RunTest, EventsAreProcessedOnlyOnceHiddenAndBeforeEachLaterPage) {
  api->answers[0] = members_page(2500, 1, 1);
  api->answers[1] = members_page(2500, 2, 1);
  api->answers[2] = members_page(2500, 3, 1);
  std::vector<bool> input_hidden_then;
  std::vector<std::size_t> pages_fetched_then;
  std::function<void()> record = [&] {
    input_hidden_then.push_back(!form->Edit1.visible() && !form->Image1.visible());
    pages_fetched_then.push_back(api->fetched.size());
    screen.pending_events.push_back(record);
  };
  screen.pending_events.push_back(record);
  start(u"42");
  EXPECT_EQ(screen.pending_event_processings, 3);
  EXPECT_EQ(input_hidden_then, (std::vector<bool>{true, true, true}));
  EXPECT_EQ(pages_fetched_then, (std::vector<std::size_t>{1, 1, 2}));
}

TEST_F(RunTest, CloseDuringRunLetsTheRunFinish) {
  api->answers[0] = members_page(2500, 1, 1);
  api->answers[1] = members_page(2500, 2, 1);
  api->answers[2] = members_page(2500, 3, 1);
  screen.pending_events.push_back([&] { screen.request_close(); });
  start(u"42");
  EXPECT_TRUE(screen.terminating);
  EXPECT_EQ(api->fetched, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(form->Memo2.line_count(), 3);
}

}  // namespace
