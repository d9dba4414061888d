#include "extraction/utf8_decoder.h"

#include <gtest/gtest.h>

#include <string>

namespace quorix {
namespace {

struct DecodeCase {
  const char* name;
  std::string bytes;
  std::u16string units;
};

class DecodeUtf8 : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeUtf8, Units) { EXPECT_EQ(decode_utf8(GetParam().bytes), GetParam().units); }

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Sequences, DecodeUtf8,
    testing::Values(
        DecodeCase{"Empty", "", u""},
        DecodeCase{"Ascii", "{\"uid\":1}", u"{\"uid\":1}"},
        DecodeCase{"LongAsciiRun", std::string(37, 'a') + "\xD0\x90", std::u16string(37, u'a') + u"\u0410"},
        DecodeCase{"TwoBytes", "\xD0\x90\xD1\x8F", u"\u0410\u044F"},
        DecodeCase{"ThreeBytes", "\xE2\x82\xAC", u"\u20AC"},
        DecodeCase{"LargestTwoAndThree", "\xDF\xBF\xEF\xBF\xBF", u"\u07FF\uFFFF"},
        DecodeCase{"FourBytesToSurrogatePair", "a\xF0\x9F\x98\x80z", u"a\U0001F600z"},
        DecodeCase{"LargestCodePoint", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
        DecodeCase{"ZeroByte", "a\0b"s, u"a\uFFFDb"},
        DecodeCase{"ZeroByteInsideAsciiWord", "abcdefg\0hijklmnop"s, u"abcdefg\uFFFDhijklmnop"},
        DecodeCase{"CutAtEnd", "ab\xD0", u"ab\uFFFD"},
        DecodeCase{"CutFourByteAtEnd", "ab\xF0\x9F\x98", u"ab\uFFFD"},
        DecodeCase{"CutBeforeAscii", "\xE2\x82z", u"\uFFFDz"},
        DecodeCase{"CutBeforeLead", "\xE2\x82\xE2\x82\xAC", u"\uFFFD\u20AC"},
        DecodeCase{"StrayContinuation", "a\x80z", u"a\uFFFDz"},
        DecodeCase{"ContinuationRun", "a\x80\xBF\x80z", u"a\uFFFDz"},
        DecodeCase{"OverlongSlash", "\xC0\xAF", u"\uFFFD"},
        DecodeCase{"OverlongZero", "\xC0\x80z", u"\uFFFDz"},
        DecodeCase{"OverlongThreeBytes", "\xE0\x80\xAF", u"\uFFFD"},
        DecodeCase{"OverlongFourBytes", "\xF0\x8F\xBF\xBF", u"\uFFFD"},
        DecodeCase{"EncodedSurrogate", "\xED\xA0\x80z", u"\uFFFDz"},
        DecodeCase{"AboveUnicode", "\xF4\x90\x80\x80", u"\uFFFD"},
        DecodeCase{"InvalidLeads", "\xFF\xF5z\xC1", u"\uFFFDz\uFFFD"},
        DecodeCase{"LeadThenLead", "\xD0\xD0\x90", u"\uFFFD\u0410"}),
    [](const testing::TestParamInfo<DecodeCase>& case_info) { return std::string(case_info.param.name); });

}  // namespace
}  // namespace quorix
