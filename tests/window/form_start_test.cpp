#include <gtest/gtest.h>

#include "form_fixture.h"
#include "window/button_pictures.h"
#include "window/utf16.h"

namespace {

using quorix::Bounds;
using quorix::testing::FormFixture;

struct ControlAtStart {
  const char* name;
  const quorix::Control& (*control)(const TForm1&);
  Bounds bounds;
  bool visible;
};

void PrintTo(const ControlAtStart& c, std::ostream* out) { *out << c.name; }

class StartArrangement : public ::testing::TestWithParam<ControlAtStart> {};

bool inside_client_area(const Bounds& b) { return b.left < 282 && b.top < 110 && b.left + b.width > 0; }

TEST_P(StartArrangement, PlacesTheControl) {
  FormFixture window;
  const auto& control = GetParam().control(*window.form);
  EXPECT_EQ(control.bounds(), GetParam().bounds) << GetParam().name;
  EXPECT_EQ(control.visible(), GetParam().visible) << GetParam().name;
}

#define CONTROL(name) #name, [](const TForm1& f) -> const quorix::Control& { return f.name; }

INSTANTIATE_TEST_SUITE_P(Controls, StartArrangement,
                         ::testing::Values(ControlAtStart{CONTROL(Label1), {0, 8, 282, 13}, true},
                                           ControlAtStart{CONTROL(Image1), {80, 56, 122, 42}, true},
                                           ControlAtStart{CONTROL(Edit1), {2, 26, 278, 21}, true},
                                           ControlAtStart{CONTROL(Memo1), {744, 56, 481, 465}, true},
                                           ControlAtStart{CONTROL(Memo2), {216, 280, 297, 465}, false},
                                           ControlAtStart{CONTROL(Memo3), {2, 2, 278, 106}, false}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(StartArrangement, HiddenHoldersAndButtonsLieOutsideTheClientArea) {
  FormFixture window;
  const TForm1& f = *window.form;
  const std::vector<const quorix::Control*> hidden = {&f.Image2, &f.Image3, &f.Image4, &f.Image5, &f.Button1, &f.Button2};
  for (const auto* control : hidden) {
    EXPECT_FALSE(control->visible());
    EXPECT_FALSE(inside_client_area(control->bounds()));
  }
}

TEST(StartArrangement, TextsAreThoseOfAFreshWindow) {
  FormFixture window;
  const TForm1& f = *window.form;
  EXPECT_EQ(quorix::utf8_from_utf16(f.Label1.caption()), "Вставьте  URL или ID группы:");
  EXPECT_TRUE(f.Edit1.text().empty());
  EXPECT_TRUE(f.Memo1.text().empty());
  EXPECT_TRUE(f.Memo2.text().empty());
  EXPECT_EQ(f.Memo2.line_count(), 0);
  EXPECT_TRUE(f.Memo3.text().empty());
  EXPECT_TRUE(f.SaveDialog1.file_name.empty());
}

TEST(StartArrangement, PictureButtonIsInStartMode) {
  FormFixture window;
  const TForm1& f = *window.form;
  EXPECT_EQ(f.Image1.tag(), 1);
  EXPECT_EQ(quorix::utf8_from_utf16(f.Image1.hint()), "Начать процесс извлечения ID");
  EXPECT_EQ(f.Image1.picture(), f.Image3.picture());
  EXPECT_EQ(window.screen.repainted_picture, f.Image3.picture());
}

struct HeldPicture {
  const char* name;
  const quorix::Image& (*holder)(const TForm1&);
  std::span<const std::uint8_t> (*bmp)();
};

void PrintTo(const HeldPicture& c, std::ostream* out) { *out << c.name; }

class HeldPictures : public ::testing::TestWithParam<HeldPicture> {};

TEST_P(HeldPictures, HoldTheirBakedPictureAtButtonSize) {
  FormFixture window;
  const auto& holder = GetParam().holder(*window.form);
  EXPECT_EQ(holder.picture(), quorix::Picture::from_bmp(GetParam().bmp()));
  EXPECT_EQ(holder.picture().width(), 122);
  EXPECT_EQ(holder.picture().height(), 42);
  EXPECT_EQ(GetParam().bmp().size(), 20550u);
}

#define HOLDER(name) #name, [](const TForm1& f) -> const quorix::Image& { return f.name; }

INSTANTIATE_TEST_SUITE_P(Holders, HeldPictures,
                         ::testing::Values(HeldPicture{HOLDER(Image2), quorix::start_pressed_bmp},
                                           HeldPicture{HOLDER(Image3), quorix::start_released_bmp},
                                           HeldPicture{HOLDER(Image4), quorix::save_released_bmp},
                                           HeldPicture{HOLDER(Image5), quorix::save_pressed_bmp}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(HeldPictures, AreFourDifferentPictures) {
  FormFixture window;
  const TForm1& f = *window.form;
  const quorix::Picture* pictures[] = {&f.Image2.picture(), &f.Image3.picture(), &f.Image4.picture(), &f.Image5.picture()};
  for (std::size_t i = 0; i < 4; ++i)
    for (std::size_t j = i + 1; j < 4; ++j) EXPECT_NE(*pictures[i], *pictures[j]) << i << " " << j;
}

}  // namespace
