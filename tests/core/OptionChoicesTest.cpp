#include <gtest/gtest.h>

#include "dialogs/OptionChoices.h"

TEST(OptionChoices, DialogOpensWithOneButtonOfEachGroup) {
  struct Case { OptionSwitches switches; OptionChoices choices; } cases[] = {
      {{1, 1, 1}, {0, 1, 1}},
      {{0, 0, 0}, {1, 0, 0}},
      {{7, 7, 7}, {1, 0, 0}},
      {{-1, 2, -5}, {1, 0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(ChoicesForDialog(c.switches), c.choices) << c.switches.useIE;
}

TEST(OptionChoices, OkWritesTheChoicesBack) {
  struct Case { OptionSwitches before; OptionChoices chosen; OptionSwitches after; } cases[] = {
      {{1, 1, 1}, {1, 0, 0}, {0, 0, 0}},
      {{0, 0, 0}, {0, 1, 1}, {1, 1, 1}},
      // Nothing selected: placement and background keep their value, the
      // browser becomes Internet Explorer.
      {{0, 7, 7}, {-1, -1, -1}, {1, 7, 7}},
      {{0, 0, 1}, {-1, -1, -1}, {1, 0, 1}},
  };
  for (const auto& c : cases) EXPECT_EQ(SwitchesAfterOk(c.before, c.chosen), c.after);
}

// Opening and pressing OK: a value that was neither 0 nor 1 becomes 0, the
// others stay as they were.
TEST(OptionChoices, OkWithoutChangeNormalisesOddValuesToZero) {
  struct Case { OptionSwitches before, after; } cases[] = {
      {{1, 1, 1}, {1, 1, 1}},
      {{0, 0, 0}, {0, 0, 0}},
      {{7, 7, 7}, {0, 0, 0}},
      {{1, 0, 7}, {1, 0, 0}},
      {{-1, 2, 1}, {0, 0, 1}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SwitchesAfterOk(c.before, ChoicesForDialog(c.before)), c.after) << c.before.useImage;
}
