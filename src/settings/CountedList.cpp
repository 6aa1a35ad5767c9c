#include "settings/CountedList.h"

int ReadListCount(const SettingsFile& file, std::string_view section) {
  const int count = file.ReadInt(section, keys::kNumber, "10");
  return std::clamp(count, 0, kMaxListEntries);
}
