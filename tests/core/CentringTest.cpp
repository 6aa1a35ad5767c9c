#include <gtest/gtest.h>

#include "framework/Centring.h"

TEST(CentredPosition, CentresOverTheOwnerAndStaysInsideTheWorkArea) {
  const ScreenRect work{0, 0, 1024, 738};  // a taskbar below
  struct Case {
    const char* name;
    int width, height;
    ScreenRect around;
    ScreenPoint at;
  } cases[] = {
      {"on the work area", 400, 300, work, {312, 219}},
      {"over an owner", 200, 100, {100, 100, 500, 300}, {200, 150}},
      {"a half pixel is dropped", 200, 100, {0, 0, 1001, 501}, {400, 200}},
      {"owner near the right and bottom", 400, 300, {900, 600, 1100, 700}, {624, 438}},
      {"owner off the left and top", 400, 300, {-500, -400, -100, -100}, {0, 0}},
      {"larger than the work area", 1200, 900, work, {0, 0}},
      {"exactly the work area", 1024, 738, work, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScreenPoint at = CentredPosition(c.width, c.height, c.around, work);
    EXPECT_EQ(at.x, c.at.x);
    EXPECT_EQ(at.y, c.at.y);
  }
  // A second monitor to the left, with negative coordinates.
  ScreenPoint left = CentredPosition(300, 200, {-1280, 0, 0, 1024}, {-1280, 0, 0, 984});
  EXPECT_EQ(left.x, -790);
  EXPECT_EQ(left.y, 412);
}
