#include "window/error_report_text.h"

#include <gtest/gtest.h>

namespace {

struct ReportCase {
  std::string message;
  std::string shown;
};

class ErrorReportText : public ::testing::TestWithParam<ReportCase> {};

TEST_P(ErrorReportText, AddsAFullStopOnlyAfterBytesAboveIt) {
  EXPECT_EQ(quorix::error_report_text(GetParam().message), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    LastByte, ErrorReportText,
    ::testing::Values(ReportCase{"", ""}, ReportCase{"'7}}' is not a valid integer value", "'7}}' is not a valid integer value."},
                      ReportCase{"HTTP/1.1 404 Not Found", "HTTP/1.1 404 Not Found."},
                      ReportCase{"Socket Error # 11001\r\nHost not found", "Socket Error # 11001\r\nHost not found."},
                      ReportCase{"Stream write error", "Stream write error."}, ReportCase{"ends with 7", "ends with 7."},
                      ReportCase{"path/", "path/."}, ReportCase{"a:", "a:."}, ReportCase{"why?", "why?."},
                      ReportCase{"[x]", "[x]."}, ReportCase{"done.", "done."}, ReportCase{"wow!", "wow!"},
                      ReportCase{"(x)", "(x)"}, ReportCase{"a,", "a,"}, ReportCase{"a-", "a-"},
                      ReportCase{"blank ", "blank "}, ReportCase{"line\r\n", "line\r\n"},
                      // Cyrillic letters are above "." as unsigned bytes.
                      ReportCase{"\xCE\xF8\xE8\xE1\xEA\xE0", "\xCE\xF8\xE8\xE1\xEA\xE0."}));

}  // namespace
