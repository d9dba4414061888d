#include "window/utf16.h"

#include <gtest/gtest.h>

namespace {

struct Utf8Case {
  const char* utf8;
  std::u16string utf16;
};

class Utf16Conversion : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf16Conversion, DecodesUtf8) { EXPECT_EQ(quorix::utf16_from_utf8(GetParam().utf8), GetParam().utf16); }

INSTANTIATE_TEST_SUITE_P(Texts, Utf16Conversion,
                         ::testing::Values(Utf8Case{"", u""}, Utf8Case{"Quorix", u"Quorix"},
                                           Utf8Case{"Сохранить результат", u"Сохранить результат"},
                                           Utf8Case{"\xF0\x9F\x98\x80", u"\U0001F600"},
                                           Utf8Case{"a\xFF" "b", u"a\uFFFDb"},
                                           Utf8Case{"\xD0", u"\uFFFD"},
                                           Utf8Case{"\xC0\xAF", u"\uFFFD"},
                                           Utf8Case{"\xED\xA0\x80", u"\uFFFD"}));

TEST(Utf16Conversion, RoundTripsValidText) {
  const std::string text = "Вставьте  URL или ID группы: \xF0\x9F\x98\x80 €";
  EXPECT_EQ(quorix::utf8_from_utf16(quorix::utf16_from_utf8(text)), text);
}

TEST(Utf16Conversion, UnpairedSurrogateBecomesReplacement) {
  EXPECT_EQ(quorix::utf8_from_utf16(std::u16string(1, u'\xD800') + u"x"), "\xEF\xBF\xBDx");
}

}  // namespace
