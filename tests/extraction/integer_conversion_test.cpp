#include "extraction/integer_conversion.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace quorix {
namespace {

struct AcceptedCase {
  const char* text;
  std::int32_t value;
};

class AcceptedInteger : public testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedInteger, Converts) {
  EXPECT_EQ(str_to_int(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AcceptedInteger,
    testing::Values(AcceptedCase{"57", 57}, AcceptedCase{" 57", 57}, AcceptedCase{"   +57", 57},
                    AcceptedCase{"-57", -57}, AcceptedCase{"0", 0}, AcceptedCase{"-0", 0},
                    AcceptedCase{"007", 7}, AcceptedCase{"2147483647", 2147483647},
                    AcceptedCase{"-2147483648", INT32_MIN},
                    AcceptedCase{"00000000000000000012", 12},
                    AcceptedCase{"$39", 57}, AcceptedCase{"x39", 57}, AcceptedCase{"X39", 57},
                    AcceptedCase{"0x39", 57}, AcceptedCase{"0XaF", 175}, AcceptedCase{"-$10", -16},
                    AcceptedCase{" +0x10", 16}, AcceptedCase{"$7FFFFFFF", INT32_MAX},
                    AcceptedCase{"$80000000", INT32_MIN}, AcceptedCase{"$FFFFFFFF", -1},
                    AcceptedCase{"-$FFFFFFFF", 1}, AcceptedCase{"-$80000000", INT32_MIN},
                    AcceptedCase{"$00000000FF", 255}));

class RejectedInteger : public testing::TestWithParam<const char*> {};

TEST_P(RejectedInteger, ThrowsWithTheTextQuoted) {
  const std::string text = GetParam();
  try {
    str_to_int(text);
    ADD_FAILURE() << "accepted '" << text << "'";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(error.what(), "'" + text + "' is not a valid integer value");
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, RejectedInteger,
                         testing::Values("", " ", "+", "-", "$", "0x", "-x", "57 ", "\t57", "5 7",
                                         "7}}", "2147483648", "-2147483649", "+2147483648",
                                         "99999999999999999999", "$100000000", "0x1G", "1e3",
                                         "--1", "+-1", "- 1", "12a", "$-1", "0x 1", "00x1",
                                         "\xD0\x90"));

}  // namespace
}  // namespace quorix
