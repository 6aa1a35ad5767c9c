#include "ProfileApiStore.h"

#include "TestText.h"

#include <windows.h>

#include "base/Unicode.h"
#include "framework/win/WideText.h"
#include "settings/FileEncoding.h"
#include "settings/win/SettingsPath.h"
#include "settings/win/SystemGbk.h"

namespace {

std::string Gbk(std::string_view text) { return GbkBytes(text, SystemGbk()); }

}  // namespace

std::string ProfileApiStore::Read(const std::string& path, std::string_view section, std::string_view key,
                                  std::string_view defaultValue) {
  if (m_wide) {
    wchar_t buffer[kValueBufferSize] = {};
    GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(defaultValue).c_str(), buffer,
                             kValueBufferSize, Wide(path).c_str());
    buffer[kValueBufferSize - 1] = L'\0';
    return Utf8(buffer);
  }
  char buffer[kValueBufferSize] = {};
  GetPrivateProfileStringA(Gbk(section).c_str(), Gbk(key).c_str(), Gbk(defaultValue).c_str(), buffer,
                           sizeof buffer, Gbk(path).c_str());
  buffer[kValueBufferSize - 1] = '\0';
  return GbkToText(buffer, SystemGbk());
}

void ProfileApiStore::Write(const std::string& path, std::string_view section, std::string_view key,
                            std::string_view value) {
  if (m_wide) {
    WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str(), Wide(path).c_str());
  } else {
    WritePrivateProfileStringA(Gbk(section).c_str(), Gbk(key).c_str(), Gbk(value).c_str(), Gbk(path).c_str());
  }
}

std::string ProfileApiStore::ReadableCut(const std::string&, std::string_view value) {
  if (m_wide) return std::string(CutToUtf16Units(value, kMaxValueLength));
  return GbkToText(CutGbkAtCharacter(Gbk(value), kMaxValueLength), SystemGbk());
}

SettingsFile CurrentDirectorySettingsFile() {
  static ProfileApiStore store;
  return SettingsFile::AtPath(CurrentSettingsPath(), store);
}
