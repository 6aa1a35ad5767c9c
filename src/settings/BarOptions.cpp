#include "settings/BarOptions.h"

#include "base/Text.h"
#include "settings/Keys.h"

namespace {

constexpr BarOptions kDefaults;

const char* Flag(int value) { return value ? "1" : "0"; }

}  // namespace

BarOptions BarOptions::Read(const SettingsFile& file) {
  BarOptions options;
  options.doubleClickRight = file.ReadInt(keys::kSetting, keys::kDoubleClickRight, FormatInt(kDefaults.doubleClickRight));
  options.useIE = file.ReadInt(keys::kSetting, keys::kUseIE, FormatInt(kDefaults.useIE));
  options.useImage = file.ReadInt(keys::kSetting, keys::kUseImg, FormatInt(kDefaults.useImage));
  options.imageNumber = ReadImageNumber(file);
  options.suggest = file.ReadInt(keys::kSetting, keys::kSuggest, FormatInt(kDefaults.suggest));
  return options;
}

int BarOptions::ReadImageNumber(const SettingsFile& file) {
  return file.ReadInt(keys::kSetting, keys::kImgNumber, FormatInt(kDefaults.imageNumber));
}

void BarOptions::Save(const SettingsFile& file) const {
  file.WriteString(keys::kSetting, keys::kUseIE, Flag(useIE));
  file.WriteString(keys::kSetting, keys::kDoubleClickRight, Flag(doubleClickRight));
  file.WriteString(keys::kSetting, keys::kUseImg, Flag(useImage));
  if (suggest || !file.ReadString(keys::kSetting, keys::kSuggest, "").empty()) {
    file.WriteString(keys::kSetting, keys::kSuggest, Flag(suggest));
  }
}
