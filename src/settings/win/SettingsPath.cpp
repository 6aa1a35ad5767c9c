#include "settings/win/SettingsPath.h"

#include <windows.h>

#include "framework/win/WideText.h"
#include "settings/SettingsFile.h"

std::string CurrentDirectory() {
  // Through a MAX_PATH buffer first; a longer folder gets a buffer of the
  // size the call asks for, tried again should the folder change meanwhile.
  std::wstring directory(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(directory.size()), directory.data());
    if (length == 0) return std::string();
    if (length < directory.size()) {
      directory.resize(length);
      return Utf8(directory);
    }
    directory.assign(length, L'\0');
  }
}

std::string CurrentSettingsPath() {
  std::string directory = CurrentDirectory();
  if (directory.empty()) directory = ".";
  std::string path = directory + '\\';  // also after a drive root: "C:\\" names the root
  return path.append(SettingsFile::kFileName);
}
