#include "dialogs/OptionChoices.h"

// Only a switch that is exactly 1 selects its "1" button; any other value
// opens on the other one, so OK turns it into 0 (or, for the browser, keeps
// "default browser").
OptionChoices ChoicesForDialog(const OptionSwitches& switches) {
  OptionChoices choices;
  choices.browserChoice = switches.useIE == 1 ? 0 : 1;
  choices.placementChoice = switches.doubleClickRight == 1 ? 1 : 0;
  choices.backgroundChoice = switches.useImage == 1 ? 1 : 0;
  return choices;
}

namespace {

int SwitchFromChoice(int choice, int before) {
  if (choice == 1) return 1;
  if (choice == 0) return 0;
  return before;
}

}  // namespace

OptionSwitches SwitchesAfterOk(const OptionSwitches& before, const OptionChoices& chosen) {
  OptionSwitches after;
  after.useIE = chosen.browserChoice == 1 ? 0 : 1;
  after.doubleClickRight = SwitchFromChoice(chosen.placementChoice, before.doubleClickRight);
  after.useImage = SwitchFromChoice(chosen.backgroundChoice, before.useImage);
  return after;
}
