#include "bar/BarSettings.h"

BarSettings ReadBarSettings(const SettingsFile& file) {
  BarSettings settings;
  settings.menus = ReadSelectionMenus(file);
  settings.options = BarOptions::Read(file);
  settings.history.Load(file);
  return settings;
}
