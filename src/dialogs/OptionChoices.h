// The options dialog's radio groups and the bar's three switches, in both
// directions. A group's choice is the index of its selected button, or -1
// when none is selected.
#pragma once

#include "settings/BarOptions.h"

struct OptionChoices {
  int browserChoice = -1;     // 0 "IE", 1 "默认浏览器"
  int placementChoice = -1;   // 0 bottom-left, 1 bottom-right
  int backgroundChoice = -1;  // 0 colour, 1 picture
  bool suggest = false;        // "输入时显示搜索建议"
  friend constexpr bool operator==(const OptionChoices&, const OptionChoices&) = default;
};

// What the dialog opens with: always 0 or 1 in every group.
OptionChoices ChoicesForDialog(const BarOptions& options);

// The options after OK. A group with nothing selected keeps its switch,
// except the browser, which then means Internet Explorer; the picture's
// number is not the dialog's.
BarOptions OptionsAfterOk(const BarOptions& before, const OptionChoices& chosen);
