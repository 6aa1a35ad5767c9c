// What the bar's three selection menus hold. The menus always offer positions 0 to 9 of each list, whatever
// its "Number" says, so entries beyond 9 are never offered and a shorter list
// shows what the file still holds at the higher keys (or the default).
#pragma once

#include <array>
#include <string>

#include "settings/SettingsFile.h"

inline constexpr int kMenuEntryCount = 10;

using MenuTexts = std::array<std::string, kMenuEntryCount>;

struct EngineMenuContents {
  MenuTexts names;  // "E0".."E9"; "百度一下" where missing
  MenuTexts codes;  // "S0".."S9"; the Baidu web-search code where missing
};

// Read in the order E0, S0, E1, S1, ..., each through a 1024-byte buffer.
EngineMenuContents ReadEngineMenu(const SettingsFile& file);
// Key "K0".."K9"; "MFC" where missing.
MenuTexts ReadKeywordMenu(const SettingsFile& file);
// Site "S0".."S9"; the default site where missing.
MenuTexts ReadSiteMenu(const SettingsFile& file);

// The menus in the order the bar reads them: engines, sites, keywords.
struct SelectionMenus {
  EngineMenuContents engines;
  MenuTexts sites;
  MenuTexts keywords;
};
SelectionMenus ReadSelectionMenus(const SettingsFile& file);
