#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "form_fixture.h"
#include "window/utf16.h"

namespace {

using quorix::MouseButton;
using quorix::testing::FormFixture;
using quorix::testing::members_page;

constexpr const char* start_hint = "Начать процесс извлечения ID";
constexpr const char* save_hint = "Сохранить результат";

using Holder = const quorix::Image& (*)(const TForm1&);
const Holder start_pressed = [](const TForm1& f) -> const quorix::Image& { return f.Image2; };
const Holder start_released = [](const TForm1& f) -> const quorix::Image& { return f.Image3; };
const Holder save_released = [](const TForm1& f) -> const quorix::Image& { return f.Image4; };
const Holder save_pressed = [](const TForm1& f) -> const quorix::Image& { return f.Image5; };

// A file name of the running test's own in the temporary folder.
std::filesystem::path result_path() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string("quorix-window-") + test->test_suite_name() + "-" + test->name() + ".csv";
  std::replace(name.begin(), name.end(), '/', '-');
  return std::filesystem::temp_directory_path() / name;
}

// What the user sees after one left click, by what the click step did.
struct ClickCase {
  const char* name;
  std::function<void(FormFixture&)> before_click;
  Holder picture_after;
  int tag_after;
  bool visible_after;
  const char* hint_after;
  std::vector<std::string> messages;
  std::vector<std::string> error_report_beginnings;
};

void PrintTo(const ClickCase& c, std::ostream* out) { *out << c.name; }

class LeftClick : public ::testing::TestWithParam<ClickCase> {};

TEST_P(LeftClick, LeavesTheButtonAsTheClickStepDid) {
  FormFixture window;
  GetParam().before_click(window);
  window.screen.messages.clear();
  window.left_click();
  const TForm1& f = *window.form;
  EXPECT_EQ(f.Image1.picture(), GetParam().picture_after(f).picture());
  EXPECT_EQ(window.screen.repainted_picture, GetParam().picture_after(f).picture());
  EXPECT_EQ(f.Image1.tag(), GetParam().tag_after);
  EXPECT_EQ(f.Image1.visible(), GetParam().visible_after);
  EXPECT_EQ(f.Image1.bounds(), (quorix::Bounds{80, 56, 122, 42}));
  EXPECT_EQ(quorix::utf8_from_utf16(f.Image1.hint()), GetParam().hint_after);
  EXPECT_EQ(window.screen.messages, GetParam().messages);
  const auto& reports = window.screen.error_reports;
  ASSERT_EQ(reports.size(), GetParam().error_report_beginnings.size());
  for (std::size_t i = 0; i < reports.size(); ++i)
    EXPECT_TRUE(reports[i].starts_with(GetParam().error_report_beginnings[i])) << reports[i];
  std::filesystem::remove(result_path());
}

const char* const wrong_reference = "Введена неправильная ссылка или ID группы";

INSTANTIATE_TEST_SUITE_P(
    ClickSteps, LeftClick,
    ::testing::Values(
        ClickCase{"BlankInput", [](FormFixture& w) { w.type_input(u" \t "); }, start_released, 1, true, start_hint, {}, {}},
        ClickCase{"RunEndsAtItsFirstPage", [](FormFixture& w) { w.type_input(u"club1"); }, start_released, 1, true,
                  start_hint, {wrong_reference}, {}},
        ClickCase{"RunEndsOnAnInvalidGroup",
                  [](FormFixture& w) {
                    w.type_input(u"club1");
                    w.api->answers[0] = R"({"error":{"error_code":125,"error_msg":"Invalid group id"}})";
                  },
                  start_released, 1, true, start_hint, {wrong_reference}, {}},
        ClickCase{"RunCompletes",
                  [](FormFixture& w) {
                    w.type_input(u"club1");
                    w.api->answers[0] = members_page(1001, 1, 1000);
                    w.api->answers[1] = members_page(1001, 1001, 1);
                  },
                  save_released, 2, true, save_hint, {}, {}},
        ClickCase{"RunFailsAtALaterPage",
                  [](FormFixture& w) {
                    w.type_input(u"club1");
                    w.api->answers[0] = members_page(1500, 1, 1000);
                  },
                  start_pressed, 1, false, start_hint, {}, {"HTTP/1.1 404 Not Found."}},
        ClickCase{"RunFailsOnTheCount",
                  [](FormFixture& w) {
                    w.type_input(u"club1");
                    w.api->answers[0] = R"({"response":{"count":7}},"items":[]}})";
                  },
                  start_pressed, 1, false, start_hint, {}, {"'7}}' is not a valid integer value."}},
        ClickCase{"DialogCancelled", [](FormFixture& w) { w.complete_run(); }, save_released, 2, true, save_hint, {}, {}},
        ClickCase{"FileWritten",
                  [](FormFixture& w) {
                    w.complete_run();
                    w.screen.save_dialog_answers.push_back(result_path().string());
                  },
                  start_released, 1, false, save_hint, {}, {}},
        ClickCase{"SaveFails",
                  [](FormFixture& w) {
                    w.complete_run();
                    w.screen.save_dialog_answers.push_back((result_path() / "missing" / "x.csv").string());
                  },
                  save_pressed, 2, true, save_hint, {}, {"Cannot create file \""}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(LeftClick, SaveFailureIsReportedWithTheCreateError) {
  FormFixture window;
  window.complete_run();
  window.screen.save_dialog_answers.push_back("/nonexistent-quorix-folder/x.csv");
  window.left_click();
  ASSERT_EQ(window.screen.error_reports.size(), 1u);
  // The path comes back as the system spells it in full.
  EXPECT_TRUE(window.screen.error_reports[0].starts_with("Cannot create file \"")) << window.screen.error_reports[0];
  EXPECT_NE(window.screen.error_reports[0].find("nonexistent-quorix-folder"), std::string::npos);
  EXPECT_TRUE(window.screen.error_reports[0].ends_with(".")) << window.screen.error_reports[0];
}

TEST(LeftClick, WrittenFileHoldsTheResultListAndTheDialogProposesItNextTime) {
  FormFixture window;
  window.complete_run();
  const auto path = result_path();
  window.screen.save_dialog_answers.push_back(std::nullopt);
  window.screen.save_dialog_answers.push_back(path.string());
  window.left_click();
  window.left_click();
  std::ifstream file(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(file), {}};
  EXPECT_EQ(bytes, "1;Ann;Lee;\r\n2;Ann;Lee;\r\n");
  EXPECT_EQ(window.screen.proposed_file_names, (std::vector<std::string>{"", ""}));
  file.close();
  std::filesystem::remove(path);
}

// One mouse event on the button and what it shows afterwards.
struct MouseStep {
  enum Kind { Press, DoublePress, Release, ReleaseOutside } kind;
  MouseButton button;
  Holder shown_after;
};

struct MouseCase {
  const char* name;
  std::vector<MouseStep> steps;
  std::vector<int> pages_fetched;
};

void PrintTo(const MouseCase& c, std::ostream* out) { *out << c.name; }

class MouseSequence : public ::testing::TestWithParam<MouseCase> {};

TEST_P(MouseSequence, ShowsThePicturesAndClicksOnlyOnALeftPressAndRelease) {
  FormFixture window;
  window.type_input(u"club1");
  window.api->answers[0] = members_page(2, 1, 2);
  const TForm1& f = *window.form;
  int step_number = 0;
  for (const auto& step : GetParam().steps) {
    ++step_number;
    switch (step.kind) {
      case MouseStep::Press:
      case MouseStep::DoublePress:
        EXPECT_EQ(window.form->picture_button_pressed(step.button, step.kind == MouseStep::DoublePress),
                  step.button == MouseButton::Left)
            << "capture at step " << step_number;
        break;
      case MouseStep::Release:
      case MouseStep::ReleaseOutside:
        window.form->picture_button_released(step.button, step.kind == MouseStep::Release);
        break;
    }
    EXPECT_EQ(f.Image1.picture(), step.shown_after(f).picture()) << "step " << step_number;
    EXPECT_EQ(window.screen.repainted_picture, step.shown_after(f).picture()) << "step " << step_number;
  }
  EXPECT_EQ(window.api->fetched, GetParam().pages_fetched);
  EXPECT_TRUE(window.screen.proposed_file_names.empty()) << "no save dialog";
}

constexpr auto L = MouseButton::Left;
constexpr auto R = MouseButton::Right;
constexpr auto M = MouseButton::Middle;

INSTANTIATE_TEST_SUITE_P(
    Sequences, MouseSequence,
    ::testing::Values(
        MouseCase{"LeftClick", {{MouseStep::Press, L, start_pressed}, {MouseStep::Release, L, save_released}}, {0}},
        MouseCase{"DoubleClickIsOneClick",
                  {{MouseStep::Press, L, start_pressed},
                   {MouseStep::Release, L, save_released},
                   {MouseStep::DoublePress, L, save_pressed},
                   {MouseStep::Release, L, save_released}},
                  {0}},
        MouseCase{"ReleaseOutsideStartsNothing",
                  {{MouseStep::Press, L, start_pressed}, {MouseStep::ReleaseOutside, L, start_released}},
                  {}},
        MouseCase{"RightButton", {{MouseStep::Press, R, start_pressed}, {MouseStep::Release, R, start_released}}, {}},
        MouseCase{"MiddleButton", {{MouseStep::Press, M, start_pressed}, {MouseStep::Release, M, start_released}}, {}},
        MouseCase{"RightDoubleClick",
                  {{MouseStep::Press, R, start_pressed},
                   {MouseStep::Release, R, start_released},
                   {MouseStep::DoublePress, R, start_pressed},
                   {MouseStep::Release, R, start_released}},
                  {}},
        MouseCase{"RightReleaseOutsideLeavesThePressedPicture",
                  {{MouseStep::Press, R, start_pressed}, {MouseStep::ReleaseOutside, R, start_pressed}},
                  {}},
        MouseCase{"LeftReleaseWithoutAPressOnTheButton", {{MouseStep::Release, L, start_released}}, {}},
        MouseCase{"RightPressWhileTheLeftIsHeld",
                  {{MouseStep::Press, L, start_pressed},
                   {MouseStep::Press, R, start_pressed},
                   {MouseStep::Release, R, start_released},
                   {MouseStep::Release, L, save_released}},
                  {0}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(MouseSequence, LostCaptureDisarmsTheClick) {
  FormFixture window;
  window.type_input(u"club1");
  window.api->answers[0] = members_page(2, 1, 2);
  window.form->picture_button_pressed(L, false);
  window.form->picture_button_capture_lost();
  window.form->picture_button_released(L, true);
  EXPECT_TRUE(window.api->fetched.empty());
  EXPECT_EQ(window.form->Image1.picture(), window.form->Image3.picture());
}

TEST(SaveMode, IsEnteredInTheRunsOrder) {
  FormFixture window;
  window.complete_run();
  auto& notices = window.screen.notices;
  const auto hint = std::find(notices.rbegin(), notices.rend(), "Image1 hint");
  ASSERT_NE(hint, notices.rend());
  const std::vector<std::string> from_hint(hint.base() - 1, notices.end());
  // The switch, the end of the run, then the release step's own copy and repaint.
  EXPECT_EQ(from_hint, (std::vector<std::string>{"Image1 hint", "Image1 picture", "Image1 bounds", "Image1 repaint",
                                                 "Image1 visible", "Image1 picture", "Image1 bounds",
                                                 "Image1 repaint"}));
}

TEST(CloseRequest, DuringARunLetsItFinishAndMarksTheProgramAsTerminating) {
  FormFixture window;
  window.type_input(u"club1");
  for (int page = 0; page <= 2; ++page) window.api->answers[page] = members_page(2500, page * 1000 + 1, 1000);
  window.screen.request_close();
  window.left_click();
  EXPECT_TRUE(window.screen.terminating);
  EXPECT_EQ(window.api->fetched, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(window.form->Memo2.line_count(), 3000);
  EXPECT_EQ(window.form->Image1.tag(), 2);
}

TEST(Running, HidesTheButtonShowingStartPressedBeforeEventsAreFirstProcessed) {
  FormFixture window;
  window.type_input(u"club1");
  window.api->answers[0] = members_page(2, 1, 2);
  const TForm1& f = *window.form;
  bool seen = false;
  window.screen.pending_events.push_back([&] {
    seen = true;
    EXPECT_FALSE(f.Image1.visible());
    EXPECT_FALSE(f.Edit1.visible());
    EXPECT_FALSE(f.Label1.visible());
    EXPECT_TRUE(f.Memo3.visible());
    EXPECT_EQ(f.Image1.picture(), f.Image2.picture());
    EXPECT_EQ(f.Image1.tag(), 1);
    EXPECT_EQ(quorix::utf8_from_utf16(f.Image1.hint()), start_hint);
  });
  window.left_click();
  EXPECT_TRUE(seen);
}

}  // namespace
