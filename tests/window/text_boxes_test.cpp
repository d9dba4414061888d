#include <gtest/gtest.h>

#include <string>

#include "form_fixture.h"
#include "platform/ansi_code_page.h"
#include "window/controls.h"

namespace {

using quorix::Bounds;

struct AppendCase {
  const char* what;
  std::u16string before;
  std::u16string line;
  std::u16string after;
};

void PrintTo(const AppendCase& c, std::ostream* out) { *out << c.what; }

class LogPanelAppend : public ::testing::TestWithParam<AppendCase> {};

TEST_P(LogPanelAppend, StartsANewLineWhereNeeded) {
  quorix::Memo memo(Bounds{}, true);
  memo.take_user_text(GetParam().before);
  memo.append_line(GetParam().line);
  EXPECT_EQ(memo.text(), GetParam().after) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LogPanelAppend,
    ::testing::Values(AppendCase{"empty box", u"", u"one", u"one\r\n"},
                      AppendCase{"after a line break", u"one\r\n", u"two", u"one\r\ntwo\r\n"},
                      AppendCase{"typed text without a line break", u"one\r\ntyped", u"two", u"one\r\ntyped\r\ntwo"},
                      AppendCase{"a lone LF is no line break", u"typed\n", u"two", u"typed\n\r\ntwo"},
                      AppendCase{"empty line", u"one\r\n", u"", u"one\r\n\r\n"},
                      AppendCase{"Cyrillic", u"", u"Извлечено 5 ID из 5", u"Извлечено 5 ID из 5\r\n"}));

TEST(LogPanelAppend, NextAppendAfterTheUnbrokenCaseAlsoStartsANewLine) {
  quorix::Memo memo(Bounds{}, true);
  memo.take_user_text(u"typed");
  memo.append_line(u"two");
  memo.append_line(u"three");
  EXPECT_EQ(memo.text(), u"typed\r\ntwo\r\nthree");
}

struct CountCase {
  const char* what;
  std::vector<std::string> lines;
  int count;
};

void PrintTo(const CountCase& c, std::ostream* out) { *out << c.what; }

class ResultListCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(ResultListCount, CountsTheLinesAppendedSinceTheLastClear) {
  quorix::LineList list(Bounds{216, 280, 297, 465}, false);
  list.append_line("left over from before;");
  list.clear();
  std::string expected_text;
  for (const auto& line : GetParam().lines) {
    list.append_line(line);
    expected_text += line + "\r\n";
  }
  EXPECT_EQ(list.line_count(), GetParam().count) << GetParam().what;
  EXPECT_EQ(list.text(), expected_text);
}

INSTANTIATE_TEST_SUITE_P(Lists, ResultListCount,
                         ::testing::Values(CountCase{"none", {}, 0}, CountCase{"one", {"1;Ann;Lee;"}, 1},
                                           CountCase{"lines far wider than the box",
                                                     {std::string(5000, 'x') + ";", "2;" + std::string(70000, 'y')},
                                                     2},
                                           CountCase{"empty lines count", {"", "", ""}, 3},
                                           CountCase{"a CR LF inside a line makes two", {"a\r\nb"}, 2}));

TEST(ResponseBuffer, GivesBackEveryByteAsSet) {
  quorix::testing::FormFixture window;
  std::string bytes;
  for (int b = 1; b < 256; ++b) bytes += static_cast<char>(b);
  bytes += "\r\n\n\r" + std::string(100000, 'w');
  window.form->set_response_text(bytes);
  EXPECT_EQ(window.form->response_text(), bytes);
}

TEST(InputLine, IsReadAsAnsiBytes) {
  if (quorix::to_ansi(u"к") != "\xEA") GTEST_SKIP() << "needs the code page 1251";
  quorix::testing::FormFixture window;
  window.type_input(u"vk.com/клуб");
  EXPECT_EQ(window.form->read_input(), "vk.com/\xEA\xEB\xF3\xE1");
}

struct VisibilityCase {
  quorix::RunControl control;
  quorix::Control& (*shown)(TForm1&);
};

class RunControlVisibility : public ::testing::TestWithParam<VisibilityCase> {};

TEST_P(RunControlVisibility, ShowsAndHidesTheNamedControlOnly) {
  quorix::testing::FormFixture window;
  TForm1& form = *window.form;
  const std::vector<quorix::Control*> all = {&form.Label1, &form.Image1, &form.Edit1, &form.Memo1, &form.Memo3};
  for (const bool visible : {true, false}) {
    std::vector<bool> before;
    for (auto* control : all) before.push_back(control->visible());
    form.set_visible(GetParam().control, visible);
    for (std::size_t i = 0; i < all.size(); ++i) {
      const bool named = all[i] == &GetParam().shown(form);
      EXPECT_EQ(all[i]->visible(), named ? visible : before[i]) << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Controls, RunControlVisibility,
                         ::testing::Values(
                             VisibilityCase{quorix::RunControl::LogPanel,
                                            [](TForm1& f) -> quorix::Control& { return f.Memo3; }},
                             VisibilityCase{quorix::RunControl::InputLine,
                                            [](TForm1& f) -> quorix::Control& { return f.Edit1; }},
                             VisibilityCase{quorix::RunControl::Prompt,
                                            [](TForm1& f) -> quorix::Control& { return f.Label1; }},
                             VisibilityCase{quorix::RunControl::PictureButton,
                                            [](TForm1& f) -> quorix::Control& { return f.Image1; }}));

}  // namespace
