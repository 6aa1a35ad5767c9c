#include "settings/win/WholeFileSave.h"

#include "base/Text.h"
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

// The error of the call that just failed; never "success", which some
// failures (a write that wrote nothing) leave behind.
DWORD LastError() {
  DWORD error = GetLastError();
  return error ? error : ERROR_WRITE_FAULT;
}

// The replace of a file another program holds open is refused with one of
// these; a virus scanner's or a backup's hold passes in a moment.
bool MayBeHeld(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

// Writes the new file beside `path` and renames it over `path`: ERROR_SUCCESS
// when it took the old one's place, else why not, and the new file is gone
// again. `copyMade` says whether a new file could be made there at all.
DWORD ReplaceWhole(const std::wstring& path, const std::string& bytes, DWORD attributes, bool& copyMade) {
  const std::wstring copy = CopyPathFor(path);
  HANDLE file = CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  copyMade = file != INVALID_HANDLE_VALUE;
  if (!copyMade) return LastError();
  DWORD error = WriteFileBytes(file, bytes) && FlushFileBuffers(file) ? ERROR_SUCCESS : LastError();
  CloseHandle(file);
  if (!error && attributes != INVALID_FILE_ATTRIBUTES) {
    SetFileAttributesW(copy.c_str(), attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
  }
  if (!error && !MoveFileExW(copy.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = LastError();
  }
  if (error) DeleteFileW(copy.c_str());
  return error;
}

// As the profile functions write it: over the old bytes, then cut to length.
DWORD WriteInPlace(const std::wstring& path, const std::string& bytes) {
  HANDLE target = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (target == INVALID_HANDLE_VALUE) return LastError();
  DWORD error = WriteFileBytes(target, bytes) && SetEndOfFile(target) ? ERROR_SUCCESS : LastError();
  CloseHandle(target);
  return error;
}

SaveResult Failure(DWORD error) { return SaveResult::Failure(SaveFaultOf(error), error); }

}  // namespace

SaveResult SaveWholeFile(const std::string& path, const SettingsWrites& save, WriteMode mode) {
  std::string bytes;
  DWORD error = ERROR_SUCCESS;
  if (ReadFileBytes(path, bytes, &error) == FileState::kUnreadable) return Failure(error);
  std::optional<std::string> changed = SaveInMemory(path, bytes, SystemGbk(), save);
  if (!changed) return {SaveStatus::kUnchanged};
  const std::wstring widePath = Wide(path);
  const DWORD attributes = GetFileAttributesW(widePath.c_str());
  // A read-only file is refused, as the profile functions refuse it (Wine's
  // run as root would write it, and a rename would replace it).
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    return {SaveStatus::kReadOnly};
  }
  bool copyMade = false;
  error = ReplaceWhole(widePath, *changed, attributes, copyMade);
  // In place, as the profile functions would write it, where the folder takes
  // no new file, or on the last try at a file that stays held.
  if (error && (!copyMade || (mode == WriteMode::kReplaceOrInPlace && MayBeHeld(error)))) {
    error = WriteInPlace(widePath, *changed);
  }
  return error ? Failure(error) : SaveResult{SaveStatus::kDone};
}

SaveFault SaveFaultOf(DWORD error) {
  switch (error) {
    case ERROR_SUCCESS: return SaveFault::kNone;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return SaveFault::kInUse;
    case ERROR_ACCESS_DENIED: return SaveFault::kAccessDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return SaveFault::kDiskFull;
    // A folder removed, a drive or a share gone.
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME: return SaveFault::kFolderMissing;
    default: return SaveFault::kOther;
  }
}

std::string SystemErrorText(DWORD error) {
  wchar_t* text = nullptr;
  DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  if (!length || !text) return std::string();
  std::string utf8 = Utf8(std::wstring(text, length));
  LocalFree(text);
  return std::string(TrimRight(utf8));
}
