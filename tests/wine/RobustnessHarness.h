// Helpers of the robustness tests: whether the program still answers, whether
// its settings file is whole, and a file held open so that the program cannot
// write it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "BarHarness.h"

namespace robust {

// Alive, and a sent WM_NULL answered within `ms`.
bool Responsive(const BarProcess& bar, DWORD ms = 5000);

// Lines of a settings file that are neither blank, nor a section header, nor
// key=value (empty when the file is whole). Text in UTF-16 with its
// byte-order mark is read as such.
std::vector<std::string> MalformedLines(const std::string& bytes);

// Files of `folder` whose names match `pattern` ("*.tmp").
std::vector<std::string> FilesIn(const std::string& folder, const std::string& pattern);

// Holds a file open for reading while sharing it for reading only: nobody can
// open it for writing, replace it or delete it meanwhile. That is how a file
// is made unwritable here, where Wine runs as root and root writes into files
// whose read-only attribute is set.
class FileLock {
 public:
  explicit FileLock(const std::string& path);
  ~FileLock() { Release(); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool Held() const { return m_handle != INVALID_HANDLE_VALUE; }
  void Release();

 private:
  HANDLE m_handle = INVALID_HANDLE_VALUE;
};

// Whether this process can open the file for writing right now.
bool Writable(const std::string& path);

// Visible top-level windows of the process other than `except` (message
// boxes, dialogs, menus).
std::vector<HWND> OtherVisibleWindows(DWORD processId, HWND except);

}  // namespace robust
