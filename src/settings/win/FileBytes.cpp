#include "settings/win/FileBytes.h"

#include <algorithm>

#include "framework/win/WideText.h"

FileState ReadFileBytes(const std::string& path, std::string& bytes, DWORD* error) {
  bytes.clear();
  DWORD ignored = 0;
  if (!error) error = &ignored;
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    *error = GetLastError();
    return *error == ERROR_FILE_NOT_FOUND || *error == ERROR_PATH_NOT_FOUND ? FileState::kMissing
                                                                            : FileState::kUnreadable;
  }
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size)) bytes.reserve(static_cast<size_t>(size.QuadPart));
  char buffer[1 << 16];
  DWORD read = 0;
  BOOL ok;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &read, nullptr)) && read > 0) bytes.append(buffer, read);
  if (!ok) *error = GetLastError();
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
