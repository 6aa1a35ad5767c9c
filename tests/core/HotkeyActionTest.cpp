#include <gtest/gtest.h>

#include "bar/HotkeyAction.h"

TEST(HotkeyAction, RetractedRevealsShownHidesHiddenShowsOverTheWindowInFront) {
  using enum HotkeyAction;
  struct Case { HotkeyState state; HotkeyAction action; } cases[] = {
      // retracting, barShown, hasForeground, foregroundIsWindow
      {{true, true, true, true}, Reveal},
      {{true, false, false, false}, Reveal},
      {{false, true, true, true}, Hide},
      {{false, true, false, false}, Hide},
      {{false, false, false, false}, Hide},  // nothing in front: stays hidden
      {{false, false, true, true}, Show},
      {{false, false, true, false}, Nothing},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ActionForHotkey(c.state), c.action)
        << c.state.retracting << c.state.barShown << c.state.hasForeground << c.state.foregroundIsWindow;
  }
}
