#include "settings/win/ProfileApiStore.h"

#include <windows.h>

std::string ProfileApiStore::Read(const std::string& path, std::string_view section,
                                  std::string_view key, std::string_view defaultValue) {
  char buffer[kValueBufferSize] = {};
  GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                           std::string(defaultValue).c_str(), buffer, sizeof buffer, path.c_str());
  buffer[kValueBufferSize - 1] = '\0';
  return buffer;
}

void ProfileApiStore::Write(const std::string& path, std::string_view section,
                            std::string_view key, std::string_view value) {
  WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                             std::string(value).c_str(), path.c_str());
}

std::string CurrentDirectory() {
  // Through a 256-byte buffer first; a longer directory gets a buffer of the
  // size the call asks for, tried again should the directory change meanwhile.
  std::string directory(256, '\0');
  for (;;) {
    DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(directory.size()), directory.data());
    if (length == 0) return std::string();
    if (length < directory.size()) {
      directory.resize(length);
      return directory;
    }
    directory.assign(length, '\0');
  }
}

SettingsFile CurrentDirectorySettingsFile() {
  static ProfileApiStore store;
  // Should the directory not be had at all (Wine's GetCurrentDirectoryA fails
  // beyond MAX_PATH), ".\Quarrow.ini" still names the file in it: the profile
  // functions would look for a bare "Quarrow.ini" in the Windows folder.
  std::string directory = CurrentDirectory();
  if (directory.empty()) directory = ".";
  return SettingsFile(directory, store, '\\');
}
