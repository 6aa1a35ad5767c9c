#include "RobustnessHarness.h"

#include <sstream>

namespace robust {

bool Responsive(const BarProcess& bar, DWORD ms) {
  if (bar.WaitForExit(0)) return false;
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(bar.Bar(), WM_NULL, 0, 0, SMTO_NORMAL, ms, &result) != 0;
}

std::vector<std::string> MalformedLines(const std::string& bytes) {
  std::string text = FromUtf16File(bytes).value_or(bytes);
  std::vector<std::string> bad;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos) continue;
    if (line[first] == '[' && line.find(']', first) != std::string::npos) continue;
    if (line.find('=') != std::string::npos && line.find('=') > first) continue;
    bad.push_back(line.substr(0, 80));
  }
  return bad;
}

std::vector<std::string> FilesIn(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW(Wide(folder + "\\" + pattern).c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names.push_back(Utf8(entry.cFileName));
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  return names;
}

FileLock::FileLock(const std::string& path) {
  m_handle = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

void FileLock::Release() {
  if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
  m_handle = INVALID_HANDLE_VALUE;
}

bool Writable(const std::string& path) {
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

std::vector<HWND> OtherVisibleWindows(DWORD processId, HWND except) {
  std::vector<HWND> windows = FindWindows({.processId = processId, .visibleOnly = true});
  std::erase(windows, except);
  return windows;
}

}  // namespace robust
