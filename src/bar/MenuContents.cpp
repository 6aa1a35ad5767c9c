#include "bar/MenuContents.h"

#include <algorithm>

#include "settings/CountedList.h"
#include "settings/Keys.h"
#include "settings/TextList.h"

namespace {

TextMenu ReadTextMenu(const SettingsFile& file, const TextListKind& kind) {
  TextMenu menu;
  const size_t count = MenuEntriesOf(static_cast<size_t>(ReadListCount(file, kind.section)));
  for (size_t index = 0; index < count; ++index) {
    menu.entries.push_back(ReadTextListEntry(file, kind, static_cast<int>(index)));
  }
  if (menu.entries.empty()) menu.whenEmpty = ReadTextListEntry(file, kind, 0);
  return menu;
}

}  // namespace

size_t MenuEntriesOf(size_t listSize) { return std::min(listSize, static_cast<size_t>(kMenuEntryCount)); }

EngineMenu ReadEngineMenu(const SettingsFile& file) {
  EngineMenu menu;
  EngineCatalogue catalogue;
  catalogue.LoadForEditing(file);
  menu.engines = catalogue.Entries();
  if (menu.engines.empty()) menu.whenEmpty = ReadEngineEntry(file, 0);
  return menu;
}

TextMenu ReadKeywordMenu(const SettingsFile& file) { return ReadTextMenu(file, kKeywordListKind); }

TextMenu ReadSiteMenu(const SettingsFile& file) { return ReadTextMenu(file, kSiteListKind); }

SelectionMenus ReadSelectionMenus(const SettingsFile& file) {
  SelectionMenus menus;
  menus.engines = ReadEngineMenu(file);
  menus.sites = ReadSiteMenu(file);
  menus.keywords = ReadKeywordMenu(file);
  return menus;
}
