// The options dialog's radio groups and the bar's three switches, in both
// directions. A group's choice is the index of its selected button, or -1
// when none is selected.
#pragma once

// "UseIE", "DoubleClickRight" and "UseImg" as the bar holds them.
struct OptionSwitches {
  int useIE = 1;
  int doubleClickRight = 1;
  int useImage = 1;
  friend constexpr bool operator==(const OptionSwitches&, const OptionSwitches&) = default;
};

struct OptionChoices {
  int browserChoice = -1;     // 0 "IE", 1 "默认浏览器"
  int placementChoice = -1;   // 0 bottom-left, 1 bottom-right
  int backgroundChoice = -1;  // 0 colour, 1 picture
  friend constexpr bool operator==(const OptionChoices&, const OptionChoices&) = default;
};

// What the dialog opens with: always 0 or 1 in every group.
OptionChoices ChoicesForDialog(const OptionSwitches& switches);

// The switches after OK. A group with nothing selected keeps its switch,
// except the browser, which then means Internet Explorer.
OptionSwitches SwitchesAfterOk(const OptionSwitches& before, const OptionChoices& chosen);
