#include "dialogs/OptionChoices.h"

// Only a switch that is exactly 1 selects its "1" button; any other value
// opens on the other one, so OK turns it into 0 (or, for the browser, keeps
// "default browser").
OptionChoices ChoicesForDialog(const BarOptions& options) {
  OptionChoices choices;
  choices.browserChoice = options.useIE == 1 ? 0 : 1;
  choices.placementChoice = options.doubleClickRight == 1 ? 1 : 0;
  choices.backgroundChoice = options.useImage == 1 ? 1 : 0;
  choices.suggest = options.suggest == 1;
  return choices;
}

namespace {

int SwitchFromChoice(int choice, int before) {
  if (choice == 1) return 1;
  if (choice == 0) return 0;
  return before;
}

}  // namespace

BarOptions OptionsAfterOk(const BarOptions& before, const OptionChoices& chosen) {
  BarOptions after = before;
  after.useIE = chosen.browserChoice == 1 ? 0 : 1;
  after.doubleClickRight = SwitchFromChoice(chosen.placementChoice, before.doubleClickRight);
  after.useImage = SwitchFromChoice(chosen.backgroundChoice, before.useImage);
  after.suggest = chosen.suggest ? 1 : 0;
  return after;
}
