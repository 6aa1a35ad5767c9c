#include <gtest/gtest.h>

#include "dialogs/OptionChoices.h"

TEST(OptionChoices, DialogOpensWithOneButtonOfEachGroup) {
  struct Case { BarOptions switches; OptionChoices choices; } cases[] = {
      {{1, 1, 1}, {0, 1, 1}},
      {{0, 0, 0}, {1, 0, 0}},
      {{7, 7, 7}, {1, 0, 0}},
      {{-1, 2, -5}, {1, 0, 0}},
      {{1, 1, 1, 1, 1}, {0, 1, 1, true}},  // suggestions on
      {{1, 1, 1, 1, 7}, {0, 1, 1, false}},
  };
  for (const auto& c : cases) EXPECT_EQ(ChoicesForDialog(c.switches), c.choices) << c.switches.useIE;
}

TEST(OptionChoices, OkWritesTheChoicesBack) {
  struct Case { BarOptions before; OptionChoices chosen; BarOptions after; } cases[] = {
      {{1, 1, 1}, {1, 0, 0}, {0, 0, 0}},
      {{0, 0, 0}, {0, 1, 1}, {1, 1, 1}},
      // Nothing selected: placement and background keep their value, the
      // browser becomes Internet Explorer.
      {{0, 7, 7}, {-1, -1, -1}, {1, 7, 7}},
      {{0, 0, 1}, {-1, -1, -1}, {1, 0, 1}},
      // The picture's number is not the dialog's.
      {{1, 1, 1, 17}, {1, 0, 0}, {0, 0, 0, 17}},
      {{1, 1, 1, 1, 0}, {1, 0, 0, true}, {0, 0, 0, 1, 1}},
      {{1, 1, 1, 1, 7}, {1, 0, 0, false}, {0, 0, 0, 1, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(OptionsAfterOk(c.before, c.chosen), c.after);
}

// Opening and pressing OK: a value that was neither 0 nor 1 becomes 0, the
// others stay as they were.
TEST(OptionChoices, OkWithoutChangeNormalisesOddValuesToZero) {
  struct Case { BarOptions before, after; } cases[] = {
      {{1, 1, 1}, {1, 1, 1}},
      {{0, 0, 0}, {0, 0, 0}},
      {{7, 7, 7}, {0, 0, 0}},
      {{1, 0, 7}, {1, 0, 0}},
      {{-1, 2, 1}, {0, 0, 1}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(OptionsAfterOk(c.before, ChoicesForDialog(c.before)), c.after) << c.before.useImage;
}
