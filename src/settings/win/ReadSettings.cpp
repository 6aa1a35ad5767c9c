#include "settings/win/ReadSettings.h"

#include "settings/win/FileBytes.h"
#include "settings/win/SystemGbk.h"

SettingsSnapshot ReadSettingsSnapshot(const std::string& path) {
  std::string bytes;
  ReadFileBytes(path, bytes);
  return SettingsSnapshot(path, bytes, SystemGbk());
}
