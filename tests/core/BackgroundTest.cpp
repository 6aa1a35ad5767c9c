#include <gtest/gtest.h>

#include <climits>

#include "desktop/Background.h"

TEST(Background, ColorIsTheLightBlueAsAColorRef) {
  EXPECT_EQ(kBackgroundColor, 0x00F7E1D9u);  // blue F7, green E1, red D9
  EXPECT_EQ(kTextColor, 0u);
}

TEST(Background, PictureNumberNamesA16BitBitmapId) {
  struct Case { int number; unsigned id; } cases[] = {
      {1, 260},      {30, 289},    {17, 276},  {0, 259},       {-1, 258},
      {31, 290},     {40, 299},    {41, 300},  {65536, 259},   {65537, 260},
      {65277, 0},    {-259, 0},    {-260, 65535},
      {INT_MAX, 258},  // 0x7FFFFFFF + 259 = 0x80000102
      {INT_MIN, 259},
  };
  for (const auto& c : cases) EXPECT_EQ(PictureBitmapId(c.number), c.id) << c.number;
}

TEST(Background, PictureOnlyInPictureModeWithAPictureLoaded) {
  struct Case { int useImage; bool loaded; BackgroundKind kind; } cases[] = {
      {1, true, BackgroundKind::Picture},  {7, true, BackgroundKind::Picture},
      {-1, true, BackgroundKind::Picture}, {1, false, BackgroundKind::Color},
      {0, true, BackgroundKind::Color},    {0, false, BackgroundKind::Color},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BackgroundToPaint(c.useImage, c.loaded), c.kind) << c.useImage << " " << c.loaded;
}

TEST(Background, ControlColourRule) {
  using K = ControlKind;
  using P = ControlPaint;
  struct Case { K kind; P picture, color; } cases[] = {
      {K::Button, P::Transparent, P::Colored},  {K::Static, P::Transparent, P::Colored},
      {K::Dialog, P::Default, P::Colored},      {K::Edit, P::Default, P::Default},
      {K::ListBox, P::Default, P::Default},     {K::ScrollBar, P::Default, P::Default},
      {K::MsgBox, P::Default, P::Default},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ControlPaintFor(BackgroundKind::Picture, c.kind), c.picture) << int(c.kind);
    EXPECT_EQ(ControlPaintFor(BackgroundKind::Color, c.kind), c.color) << int(c.kind);
  }
  // Picture mode whose number has no bitmap paints like colour mode.
  EXPECT_EQ(ControlPaintFor(BackgroundToPaint(1, false), K::Button), P::Colored);
  EXPECT_EQ(ControlPaintFor(BackgroundToPaint(1, false), K::Dialog), P::Colored);
}

TEST(Background, MinimizedIconIsCentredRoundingUp) {
  struct Case { int cw, ch, iw, ih; IconOrigin at; } cases[] = {
      {160, 28, 32, 32, {64, -1}},  // (28 - 32 + 1) / 2 truncates toward zero
      {161, 47, 32, 32, {65, 8}},
      {32, 32, 32, 32, {0, 0}},
      {0, 0, 32, 32, {-15, -15}},
  };
  for (const auto& c : cases) EXPECT_EQ(MinimizedIconOrigin(c.cw, c.ch, c.iw, c.ih), c.at) << c.cw;
}
