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

namespace {

// The long name of a folder, grown to its length; empty when there is none.
std::wstring LongName(const std::wstring& folder) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetLongPathNameW(folder.c_str(), path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(length);
  }
}

}  // namespace

std::string CurrentSettingsPath() {
  std::string directory = CurrentDirectory();
  if (directory.empty()) directory = ".";
  // The same folder reached by its short (8.3) name is the same settings
  // file: the one bar that runs on it must be found by either name.
  const std::wstring longName = LongName(Wide(directory));
  if (!longName.empty()) directory = Utf8(longName);
  std::string path = directory + '\\';  // also after a drive root: "C:\\" names the root
  return path.append(SettingsFile::kFileName);
}
