#include "settings/win/ReadSettings.h"
#include "settings/win/SettingsPath.h"
#include "settings/win/WholeFileSave.h"

#include <windows.h>

#include "framework/win/WideText.h"
#include "settings/SettingsSnapshot.h"
#include "settings/win/FileBytes.h"
#include "settings/win/SystemGbk.h"

namespace {

// Beside the file, so that the rename stays on its volume; one name per save
// of this process, so that another copy of the program never takes one save's
// new file for another's.
std::wstring CopyPathFor(const std::wstring& path) {
  static unsigned saves = 0;
  // Numbers through std::to_string: std::to_wstring would bring in the C
  // library's wide printf.
  return path + L"." + Wide(std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++saves)) + L".tmp";
}

// Writes the new file beside `path` and renames it over `path`. False when no
// new file could be made there; a failed rename leaves the old file, and what
// was to be written is lost.
bool ReplaceWhole(const std::wstring& path, const std::string& bytes, DWORD attributes) {
  const std::wstring copy = CopyPathFor(path);
  HANDLE file = CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = WriteFileBytes(file, bytes) && FlushFileBuffers(file);
  CloseHandle(file);
  if (ok && attributes != INVALID_FILE_ATTRIBUTES) {
    SetFileAttributesW(copy.c_str(), attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
  }
  if (!ok || !MoveFileExW(copy.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(copy.c_str());
  }
  return true;
}

}  // namespace

void SaveWholeFile(const std::string& path, const std::function<void(const SettingsFile&)>& save) {
  std::string bytes;
  if (ReadFileBytes(path, bytes) == FileState::kUnreadable) return;
  std::optional<std::string> changed = SaveInMemory(path, bytes, SystemGbk(), save);
  if (!changed) return;
  const std::wstring widePath = Wide(path);
  const DWORD attributes = GetFileAttributesW(widePath.c_str());
  // A read-only file is refused, as the profile functions refuse it (Wine's
  // run as root would write it, and a rename would replace it).
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return;
  if (ReplaceWhole(widePath, *changed, attributes)) return;
  // No new file beside it: in place, as the profile functions would write it.
  HANDLE target = CreateFileW(widePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (target == INVALID_HANDLE_VALUE) return;
  if (WriteFileBytes(target, *changed)) SetEndOfFile(target);
  CloseHandle(target);
}
