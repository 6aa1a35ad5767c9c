// Everything the bar reads from its settings file when it starts, in one
// place: the engine, site and keyword menus, the four options and the query
// history, all taken from one reading of the file.
#pragma once

#include "settings/BarOptions.h"
#include "bar/MenuContents.h"
#include "search/QueryHistory.h"
#include "settings/SettingsFile.h"

struct BarSettings {
  SelectionMenus menus;  // Engine E0..E9 and S0..S9, Site S0..S9, Key K0..K9
  BarOptions options;    // Setting DoubleClickRight, UseIE, UseImg, ImgNumber
  QueryHistory history;  // History H0..H99
};

// Reads in the order the bar always has: the menus, the options, the history.
BarSettings ReadBarSettings(const SettingsFile& file);
