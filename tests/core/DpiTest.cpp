// Scaling the program's 96-DPI pixel numbers to the bar's monitor.
#include "base/Dpi.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct RescaleCase {
  int length, fromDpi, toDpi, expected;
};

TEST(Dpi, RescaleRoundsHalfAwayFromZeroAsMulDiv) {
  const RescaleCase cases[] = {
      {20, 96, 96, 20},     // unchanged at the same density
      {20, 96, 144, 30},    // the docking distance at 150 %
      {10, 96, 120, 13},    // 12.5 rounds up
      {47, 96, 144, 71},    // 70.5 rounds up: the minimum height at 150 %
      {286, 96, 144, 429},  // the minimum width
      {20, 96, 192, 40},
      {7, 96, 168, 12},     // 12.25 rounds down
      {-10, 96, 120, -13},  // -12.5 rounds away from zero, as MulDiv does
      {-3, 96, 144, -5},    // -4.5
      {5, 144, 96, 3},      // back from a measured metric: 3.33
      {0, 96, 144, 0},
      {16, 96, 72, 12},     // below 100 %
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RescaleForDpi(c.length, c.fromDpi, c.toDpi), c.expected)
        << c.length << " from " << c.fromDpi << " to " << c.toDpi;
  }
}

TEST(Dpi, UnknownDensityLeavesTheLengthAlone) {
  // GetDeviceCaps or a missing function may give 0; nothing then is scaled.
  EXPECT_EQ(RescaleForDpi(20, 0, 144), 20);
  EXPECT_EQ(RescaleForDpi(20, 96, 0), 20);
  EXPECT_EQ(RescaleForDpi(20, -96, 144), 20);
  EXPECT_EQ(ScaleToDpi(20, 0), 20);
}

TEST(Dpi, ScreenCoordinatesDoNotOverflow) {
  // A coordinate far out on a large desktop times a high DPI exceeds 32 bits.
  EXPECT_EQ(RescaleForDpi(30000000, 96, 480), 150000000);
  EXPECT_EQ(RescaleForDpi(-30000000, 96, 480), -150000000);
  EXPECT_EQ(RescaleForDpi(std::numeric_limits<int>::max(), 96, 192), std::numeric_limits<int>::max());
  EXPECT_EQ(RescaleForDpi(std::numeric_limits<int>::min(), 96, 192), std::numeric_limits<int>::min());
}

TEST(Dpi, ScaleToDpiStartsFrom96) {
  EXPECT_EQ(ScaleToDpi(16, 96), 16);
  EXPECT_EQ(ScaleToDpi(16, 120), 20);
  EXPECT_EQ(ScaleToDpi(16, 144), 24);
  EXPECT_EQ(ScaleToDpi(16, 192), 32);
  EXPECT_EQ(ScaleToDpi(16, 288), 48);
}

}  // namespace
