#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "platform/result_file.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

class ResultFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("quorix-result-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  static std::string read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  static std::string failure_of(const std::string& file, const std::string& bytes) {
    try {
      quorix::write_result_file(file, bytes);
    } catch (const std::runtime_error& e) {
      return e.what();
    }
    return "";
  }

  fs::path dir_;
};

// Holds a file the way another program would: nobody else may open it.
class ExclusiveHolder {
 public:
  explicit ExclusiveHolder(const std::string& file) {
#ifdef _WIN32
    handle_ = CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
#else
    fd_ = ::open(file.c_str(), O_RDWR | O_CREAT, 0666);
    ::flock(fd_, LOCK_EX);
#endif
  }
  ~ExclusiveHolder() {
#ifdef _WIN32
    CloseHandle(handle_);
#else
    ::close(fd_);
#endif
  }

 private:
#ifdef _WIN32
  HANDLE handle_;
#else
  int fd_;
#endif
};

TEST_F(ResultFileTest, WritesExactlyTheBytesGiven) {
  const std::string bytes = "1;\xC0\xED\xED\xE0;B;\r\n2;X;Y;Z;\r\n";
  quorix::write_result_file(path("a.csv"), bytes);
  EXPECT_EQ(read(path("a.csv")), bytes);
}

TEST_F(ResultFileTest, EmptyListGivesEmptyFile) {
  quorix::write_result_file(path("empty.csv"), "");
  EXPECT_TRUE(fs::exists(path("empty.csv")));
  EXPECT_EQ(fs::file_size(path("empty.csv")), 0u);
}

TEST_F(ResultFileTest, ReplacesLongerFileWithoutTail) {
  std::ofstream(path("old.csv"), std::ios::binary) << std::string(5000, 'x');
  quorix::write_result_file(path("old.csv"), "7;A;B;\r\n");
  EXPECT_EQ(read(path("old.csv")), "7;A;B;\r\n");
}

TEST_F(ResultFileTest, MissingFolderIsCreateErrorWithFullPath) {
  const std::string file = (dir_ / "missing" / "x.csv").string();
  const std::string message = failure_of(file, "1;A;B;\r\n");
  const std::string start = "Cannot create file \"" + fs::absolute(file).string() + "\". ";
  ASSERT_EQ(message.substr(0, start.size()), start) << message;
  const std::string text = message.substr(start.size());
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.back(), '.');
  EXPECT_GT(static_cast<unsigned char>(text.back()), 32);
}

TEST_F(ResultFileTest, FileHeldByAnotherProgramIsCreateErrorAndUntouched) {
  const std::string file = path("held.csv");
  std::ofstream(file, std::ios::binary) << "keep";
  {
    ExclusiveHolder holder(file);
    const std::string message = failure_of(file, "1;A;B;\r\n");
    EXPECT_EQ(message.rfind("Cannot create file \"", 0), 0u) << message;
  }
  EXPECT_EQ(read(file), "keep");
}

TEST_F(ResultFileTest, ShortWriteIsStreamWriteError) {
#ifdef _WIN32
  const std::string full = "Z:\\dev\\full";
#else
  const std::string full = "/dev/full";
#endif
  EXPECT_EQ(failure_of(full, "1;A;B;\r\n"), "Stream write error");
}

}  // namespace
