// What the bar's three selection menus hold: the first entries of each list,
// at most ten, then a separator and "增加". An empty list shows only "增加";
// its button then shows what the file reads at position 0 (the list's
// default where the key is missing).
#pragma once

#include <string>
#include <vector>

#include "settings/EngineCatalogue.h"
#include "settings/SettingsFile.h"

inline constexpr int kMenuEntryCount = 10;

// How many entries a menu offers of a list of `listSize`.
size_t MenuEntriesOf(size_t listSize);

// One menu of texts: its entries and its button's caption when it has none.
struct TextMenu {
  std::vector<std::string> entries;  // at most kMenuEntryCount
  std::string whenEmpty;
};

struct EngineMenu {
  // The whole catalogue: the menu offers the first ten, a shortcut reaches
  // every engine.
  std::vector<EngineEntry> engines;
  EngineEntry whenEmpty;  // the Search button's engine when there is none
};

// Read in the order Number, then E0, S0, A0, E1, ..., each through a
// 1024-byte buffer.
EngineMenu ReadEngineMenu(const SettingsFile& file);
// Key "K0".. as many as "Number" says, at most ten; "MFC" where missing.
TextMenu ReadKeywordMenu(const SettingsFile& file);
// Site "S0".. as many as "Number" says, at most ten; the default site where missing.
TextMenu ReadSiteMenu(const SettingsFile& file);

// The menus in the order the bar reads them: engines, sites, keywords.
struct SelectionMenus {
  EngineMenu engines;
  TextMenu sites;
  TextMenu keywords;
};
SelectionMenus ReadSelectionMenus(const SettingsFile& file);
