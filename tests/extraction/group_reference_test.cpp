#include "extraction/group_reference.h"

#include <gtest/gtest.h>

namespace quorix {
namespace {

struct IdentifierCase {
  const char* reference;
  const char* identifier;
};

class GroupIdentifier : public testing::TestWithParam<IdentifierCase> {};

TEST_P(GroupIdentifier, FromReference) {
  EXPECT_EQ(group_identifier(GetParam().reference), GetParam().identifier) << GetParam().reference;
}

INSTANTIATE_TEST_SUITE_P(
    References, GroupIdentifier,
    testing::Values(IdentifierCase{"http://vk.com/club12345", "12345"},
                    IdentifierCase{"https://vk.com/club12345", "12345"},
                    IdentifierCase{"club12345", "12345"},
                    IdentifierCase{"12345", "12345"},
                    IdentifierCase{"http://vk.com/music_lovers", "music_lovers"},
                    IdentifierCase{"http://vk.com/club12345/", ""},
                    IdentifierCase{"http://vk.com/chessclub", ""},
                    IdentifierCase{"clubclub7", "7"},
                    IdentifierCase{"host/club42", "42"},
                    IdentifierCase{"host/music", "host/music"},
                    IdentifierCase{"HTTP://HOST/CLUB5", "HTTP://HOST/CLUB5"},
                    IdentifierCase{" 12345 ", " 12345 "},
                    IdentifierCase{"myhttpgroup", ""},
                    IdentifierCase{"http://vk.com/club1?w=wall", "1?w=wall"},
                    // "club" must lie wholly after the last "/".
                    IdentifierCase{"http://vk.com/clu/b9", "b9"},
                    IdentifierCase{"http://club7/x", "x"},
                    IdentifierCase{"a/club1 http", "1 http"},
                    IdentifierCase{"", ""}));

struct BlankCase {
  const char* reference;
  bool blank;
};

class BlankReference : public testing::TestWithParam<BlankCase> {};

TEST_P(BlankReference, Test) {
  EXPECT_EQ(is_blank_reference(GetParam().reference), GetParam().blank) << GetParam().reference;
}

INSTANTIATE_TEST_SUITE_P(References, BlankReference,
                         testing::Values(BlankCase{"", true}, BlankCase{"   ", true},
                                         BlankCase{"\t \r\n\x1f", true}, BlankCase{" x ", false},
                                         BlankCase{"!", false},
                                         // Bytes above 127 are letters in the ANSI code page.
                                         BlankCase{"\xC0", false}, BlankCase{" \xA0 ", false}));

}  // namespace
}  // namespace quorix
