#include "settings/win/WholeFileSave.h"

#include <windows.h>

#include "settings/win/ProfileApiStore.h"

#include <algorithm>
#include <string>

namespace {

class WindowsCodePage : public CodePage {
 public:
  std::u16string ToUtf16(std::string_view ansi) const override {
    if (ansi.empty()) return {};
    int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::u16string text(static_cast<size_t>(length), u'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                        reinterpret_cast<wchar_t*>(text.data()), length);
    return text;
  }
  std::string FromUtf16(std::u16string_view text) const override {
    if (text.empty()) return {};
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data());
    int length = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(text.size()), ansi.data(), length, nullptr, nullptr);
    return ansi;
  }
};

enum class FileState { kMissing, kUnreadable, kRead };

FileState ReadFileBytes(const std::string& path, std::string& bytes) {
  bytes.clear();
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileState::kMissing
                                                                          : FileState::kUnreadable;
  }
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size)) bytes.reserve(static_cast<size_t>(size.QuadPart));
  char buffer[1 << 16];
  DWORD read = 0;
  BOOL ok;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &read, nullptr)) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  if (!ok) {
    bytes.clear();
    return FileState::kUnreadable;
  }
  return FileState::kRead;
}

bool WriteFileBytes(HANDLE file, const std::string& bytes) {
  for (size_t at = 0; at < bytes.size();) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - at, 1u << 20)), written = 0;
    if (!WriteFile(file, bytes.data() + at, chunk, &written, nullptr) || written == 0) return false;
    at += written;
  }
  return true;
}

// Beside the file, so that the rename stays on its volume; one name per save
// of this process, so that another copy of the program never takes one save's
// new file for another's.
std::string CopyPathFor(const std::string& path) {
  static unsigned saves = 0;
  return path + "." + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++saves) + ".tmp";
}

// Writes the new file beside `path` and renames it over `path`. False when no
// new file could be made there; a failed rename leaves the old file, and what
// was to be written is lost.
bool ReplaceWhole(const std::string& path, const std::string& bytes, DWORD attributes) {
  const std::string copy = CopyPathFor(path);
  HANDLE file = CreateFileA(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = WriteFileBytes(file, bytes) && FlushFileBuffers(file);
  CloseHandle(file);
  if (ok && attributes != INVALID_FILE_ATTRIBUTES) {
    SetFileAttributesA(copy.c_str(), attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
  }
  if (!ok || !MoveFileExA(copy.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(copy.c_str());
  }
  return true;
}

}  // namespace

std::string CurrentSettingsPath() { return CurrentDirectorySettingsFile().Path(); }

const CodePage& SystemCodePage() {
  static const WindowsCodePage codePage;
  return codePage;
}

SettingsSnapshot ReadSettingsSnapshot(const std::string& path) {
  std::string bytes;
  ReadFileBytes(path, bytes);
  return SettingsSnapshot(path, bytes, SystemCodePage());
}

void SaveWholeFile(const std::string& path, const std::function<void(const SettingsFile&)>& save) {
  std::string bytes;
  if (ReadFileBytes(path, bytes) == FileState::kUnreadable) return;
  std::optional<std::string> changed = SaveInMemory(path, bytes, SystemCodePage(), save);
  if (!changed) return;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  // A read-only file is refused, as the profile functions refuse it (Wine's
  // run as root would write it, and a rename would replace it).
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return;
  if (ReplaceWhole(path, *changed, attributes)) return;
  // No new file beside it: in place, as the profile functions would write it.
  HANDLE target = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (target == INVALID_HANDLE_VALUE) return;
  if (WriteFileBytes(target, *changed)) SetEndOfFile(target);
  CloseHandle(target);
}
