// Runs against the built-in Windows-1251 table natively and against the
// system conversion under Wine, whose locale gives code page 1251.
#include "platform/ansi_code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace quorix {
namespace {

struct AnsiCase {
  const char* name;
  std::u16string units;
  std::string bytes;
};

class ToAnsi : public testing::TestWithParam<AnsiCase> {};

TEST_P(ToAnsi, Bytes) { EXPECT_EQ(to_ansi(GetParam().units), GetParam().bytes); }

INSTANTIATE_TEST_SUITE_P(
    Characters, ToAnsi,
    testing::Values(AnsiCase{"Empty", u"", ""},
                    AnsiCase{"Ascii", u"uid;A", "uid;A"},
                    AnsiCase{"CyrillicA", u"\u0410", "\xC0"},
                    AnsiCase{"CyrillicRange", u"\u0430\u044F\u0401\u0451", "\xE0\xFF\xA8\xB8"},
                    AnsiCase{"Euro", u"\u20AC", "\x88"},
                    AnsiCase{"Numero", u"\u2116", "\xB9"},
                    AnsiCase{"AccentedToBase", u"\u00E9\u00C7\u0161", "eCs"},
                    AnsiCase{"Replacement", u"\uFFFD", "?"},
                    AnsiCase{"LoneSurrogates", u"a\xD800" u"b\xDC00", "a?b?"},
                    AnsiCase{"Chinese", u"\u4E2D", "?"}),
    [](const testing::TestParamInfo<AnsiCase>& case_info) { return std::string(case_info.param.name); });

TEST(AnsiCodePage, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  const std::u16string wide = from_ansi(all);
  ASSERT_EQ(wide.size(), all.size());
  EXPECT_EQ(wide[0xC0 - 1], u'\u0410');
  EXPECT_EQ(wide[0x88 - 1], u'\u20AC');
  EXPECT_EQ(to_ansi(wide), all);
}

}  // namespace
}  // namespace quorix
