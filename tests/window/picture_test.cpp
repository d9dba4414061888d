#include "window/picture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void put_u32(Bytes& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A 32-bit BMP of 2 x 2 pixels whose stored rows are `rows`, in file order.
Bytes bmp_2x2(std::int32_t stored_height, const Bytes& rows, std::uint16_t bits = 32, std::uint32_t compression = 0) {
  Bytes file(54, 0);
  file[0] = 'B';
  file[1] = 'M';
  put_u32(file, 2, static_cast<std::uint32_t>(54 + rows.size()));
  put_u32(file, 10, 54);
  put_u32(file, 14, 40);
  put_u32(file, 18, 2);
  put_u32(file, 22, static_cast<std::uint32_t>(stored_height));
  file[26] = 1;
  file[28] = static_cast<std::uint8_t>(bits);
  file[29] = static_cast<std::uint8_t>(bits >> 8);
  put_u32(file, 30, compression);
  file.insert(file.end(), rows.begin(), rows.end());
  return file;
}

const Bytes lower_row = {1, 2, 3, 4, 5, 6, 7, 8};
const Bytes upper_row = {9, 10, 11, 12, 13, 14, 15, 16};

TEST(PictureFromBmp, BottomUpRowsComeOutTopDown) {
  Bytes rows = lower_row;
  rows.insert(rows.end(), upper_row.begin(), upper_row.end());
  const auto picture = quorix::Picture::from_bmp(bmp_2x2(2, rows));
  Bytes expected = upper_row;
  expected.insert(expected.end(), lower_row.begin(), lower_row.end());
  EXPECT_EQ(picture.width(), 2);
  EXPECT_EQ(picture.height(), 2);
  EXPECT_EQ(picture.bgra(), expected);
}

TEST(PictureFromBmp, TopDownRowsStayInOrder) {
  Bytes rows = upper_row;
  rows.insert(rows.end(), lower_row.begin(), lower_row.end());
  EXPECT_EQ(quorix::Picture::from_bmp(bmp_2x2(-2, rows)).bgra(), rows);
}

struct BadBmp {
  const char* what;
  Bytes file;
};

void PrintTo(const BadBmp& c, std::ostream* out) { *out << c.what; }

class PictureFromBadBmp : public ::testing::TestWithParam<BadBmp> {};

TEST_P(PictureFromBadBmp, IsRejected) {
  EXPECT_THROW(quorix::Picture::from_bmp(GetParam().file), std::runtime_error) << GetParam().what;
}

Bytes with_magic(Bytes file, char first) {
  file[0] = static_cast<std::uint8_t>(first);
  return file;
}

const Bytes sixteen_bytes(16, 0);

INSTANTIATE_TEST_SUITE_P(
    Files, PictureFromBadBmp,
    ::testing::Values(BadBmp{"empty", {}}, BadBmp{"headers only half there", Bytes(30, 0)},
                      BadBmp{"not BM", with_magic(bmp_2x2(2, sixteen_bytes), 'X')},
                      BadBmp{"24 bits", bmp_2x2(2, sixteen_bytes, 24)},
                      BadBmp{"bit fields", bmp_2x2(2, sixteen_bytes, 32, 3)},
                      BadBmp{"pixels cut short", bmp_2x2(2, Bytes(12, 0))}, BadBmp{"zero height", bmp_2x2(0, {})}));

struct BlendCase {
  Bytes straight;
  Bytes on_white;
};

class PictureOverWhite : public ::testing::TestWithParam<BlendCase> {};

TEST_P(PictureOverWhite, MixesEachPixelByItsAlpha) {
  const quorix::Picture pixel(1, 1, GetParam().straight);
  EXPECT_EQ(pixel.over_white(), GetParam().on_white);
}

INSTANTIATE_TEST_SUITE_P(Alphas, PictureOverWhite,
                         ::testing::Values(BlendCase{{206, 160, 13, 255}, {206, 160, 13, 255}},
                                           // A transparent pixel shows white whatever colour it holds.
                                           BlendCase{{0, 0, 255, 0}, {255, 255, 255, 255}},
                                           BlendCase{{0, 0, 0, 181}, {74, 74, 74, 255}},
                                           BlendCase{{0, 100, 200, 128}, {127, 177, 227, 255}}));

TEST(Picture, RefusesPixelsOfTheWrongSize) {
  EXPECT_THROW(quorix::Picture(2, 2, Bytes(12, 0)), std::invalid_argument);
}

}  // namespace
