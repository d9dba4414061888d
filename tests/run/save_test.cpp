#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/window/form_fixture.h"
#include "window/utf16.h"

namespace {

namespace fs = std::filesystem;
using quorix::testing::FormFixture;
using quorix::testing::members_page;

class SaveTest : public ::testing::Test, protected FormFixture {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("quorix-save-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  void finish_run(std::string page) {
    api->answers[0] = std::move(page);
    type_input(u"42");
    form->handle_event([&] { form->Button1Click(); });
    ASSERT_EQ(form->Image1.tag(), 2);
  }
  void save() { form->handle_event([&] { form->Button2Click(); }); }
  std::string last_log_lines(int n) const {
    const std::string text = quorix::utf8_from_utf16(form->Memo3.text());
    std::size_t at = text.size();
    for (int i = 0; i <= n && at != std::string::npos; ++i) at = at == 0 ? std::string::npos : text.rfind("\r\n", at - 1);
    return at == std::string::npos ? text : text.substr(at + 2);
  }
  static std::string read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  fs::path dir;
};

TEST_F(SaveTest, WritesTheResultListAndFinishes) {
  finish_run(R"({"response":{"count":2,"items":[{"uid":1,"first_name":"\u0410","last_name":"X;Y"},)"
             "{\"uid\":2,\"first_name\":\"\xD0\x90\xD0\xBD\",\"last_name\":\"O\\\"Neil\"}]}}");
  const fs::path file = dir / "members.csv";
  screen.save_dialog_answers.push_back(file.string());
  save();
  EXPECT_TRUE(screen.error_reports.empty());
  EXPECT_EQ(read(file), form->Memo2.text());
  EXPECT_EQ(read(file), "1;\\u0410;X;Y;\r\n2;\xC0\xED;O\\\"Neil;\r\n");
  EXPECT_EQ(last_log_lines(2), "Результаты сохранены!\r\nРабота програмы окончена.\r\n");
  EXPECT_FALSE(form->Image1.visible());
  EXPECT_EQ(form->Image1.tag(), 1);
  EXPECT_EQ(form->Memo3.bounds().height, 106);
  EXPECT_TRUE(form->Memo3.visible());
}

TEST_F(SaveTest, EmptyResultListGivesEmptyFile) {
  finish_run(members_page(0, 1, 0));
  const fs::path file = dir / "empty.csv";
  screen.save_dialog_answers.push_back(file.string());
  save();
  ASSERT_TRUE(fs::exists(file));
  EXPECT_EQ(fs::file_size(file), 0u);
  EXPECT_FALSE(form->Image1.visible());
}

TEST_F(SaveTest, CancelChangesNothingAndTheSaveCanFollow) {
  finish_run(members_page(1, 1, 1));
  const std::u16string log_before = form->Memo3.text();
  for (int i = 0; i < 3; ++i) {
    screen.save_dialog_answers.push_back(std::nullopt);
    save();
  }
  EXPECT_EQ(form->Memo3.text(), log_before);
  EXPECT_EQ(form->Image1.tag(), 2);
  EXPECT_TRUE(form->Image1.visible());
  EXPECT_EQ(form->Memo3.bounds().height, 50);
  screen.save_dialog_answers.push_back((dir / "later.csv").string());
  save();
  EXPECT_EQ(read(dir / "later.csv"), "1;Ann;Lee;\r\n");
}

TEST_F(SaveTest, FailedCreateKeepsSaveModeAndTheRetryProposesThePath) {
  finish_run(members_page(1, 1, 1));
  const fs::path file = dir / "missing" / "x.csv";
  screen.save_dialog_answers.push_back(file.string());
  save();
  ASSERT_EQ(screen.error_reports.size(), 1u);
  EXPECT_TRUE(screen.error_reports[0].starts_with("Cannot create file \"" + file.string() + "\". "))
      << screen.error_reports[0];
  EXPECT_EQ(screen.error_reports[0].back(), '.');
  EXPECT_EQ(form->Image1.tag(), 2);
  EXPECT_TRUE(form->Image1.visible());
  EXPECT_EQ(form->Memo3.bounds().height, 50);
  EXPECT_EQ(last_log_lines(1), "Извлечение завершено, можно сохранить результат\r\n");

  screen.save_dialog_answers.push_back(std::nullopt);
  save();
  ASSERT_EQ(screen.proposed_file_names.size(), 2u);
  EXPECT_EQ(screen.proposed_file_names[1], file.string());
}

}  // namespace
