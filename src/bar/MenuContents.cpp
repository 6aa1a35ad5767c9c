#include "bar/MenuContents.h"

#include "settings/EngineCatalogue.h"
#include "settings/Keys.h"
#include "settings/TextList.h"

namespace {

MenuTexts ReadTextMenu(const SettingsFile& file, const TextListKind& kind) {
  MenuTexts texts;
  for (int index = 0; index < kMenuEntryCount; ++index) texts[index] = ReadTextListEntry(file, kind, index);
  return texts;
}

}  // namespace

EngineMenuContents ReadEngineMenu(const SettingsFile& file) {
  EngineMenuContents menu;
  for (int index = 0; index < kMenuEntryCount; ++index) {
    EngineEntry entry = ReadEngineEntry(file, index);
    menu.names[index] = std::move(entry.name);
    menu.codes[index] = std::move(entry.searchCode);
  }
  return menu;
}

MenuTexts ReadKeywordMenu(const SettingsFile& file) { return ReadTextMenu(file, kKeywordListKind); }

MenuTexts ReadSiteMenu(const SettingsFile& file) { return ReadTextMenu(file, kSiteListKind); }

SelectionMenus ReadSelectionMenus(const SettingsFile& file) {
  SelectionMenus menus;
  menus.engines = ReadEngineMenu(file);
  menus.sites = ReadSiteMenu(file);
  menus.keywords = ReadKeywordMenu(file);
  return menus;
}
