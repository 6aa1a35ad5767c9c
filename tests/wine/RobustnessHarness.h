// Helpers of the robustness tests: whether the program still answers, whether
// its settings file is whole, and a file held open so that the program cannot
// write it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "BarHarness.h"
#include "DialogHarness.h"

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

// A notification balloon on the screen: Wine's notification area shows one as
// a balloon tooltip. (Its title cannot be read: Wine 8's tooltip answers
// TTM_GETTITLE with nothing.)
struct Balloon {
  HWND window = nullptr;
  std::string text;
};
// The balloons shown now whose text holds `fragment`.
std::vector<Balloon> BalloonsShown(const std::string& fragment);
// Whether the balloon shows the warning icon, the orange triangle that Wine
// draws for TTI_WARNING and for none of the other icons (read from the screen).
bool ShowsWarningIcon(HWND balloon);
// Watches for `ms` and gives every balloon whose text holds `fragment` that was
// shown meanwhile, once each: a balloon shown again is a new window.
std::vector<Balloon> BalloonsSeen(const std::string& fragment, DWORD ms);

// Counts the saves made in a folder from now on: each new file beside the
// settings file (a save's new file, "Quarrow.ini.*.tmp") is one, made or not.
class SaveCounter {
 public:
  explicit SaveCounter(const std::string& folder);
  ~SaveCounter();
  SaveCounter(const SaveCounter&) = delete;
  SaveCounter& operator=(const SaveCounter&) = delete;
  bool Watching() const { return m_folder != INVALID_HANDLE_VALUE; }
  // The saves begun so far, after `settleMs` more of watching.
  int Count(DWORD settleMs = 0);

 private:
  void Listen();
  HANDLE m_folder = INVALID_HANDLE_VALUE;
  HANDLE m_event = nullptr;
  OVERLAPPED m_overlapped{};
  alignas(DWORD) char m_buffer[16384];
  int m_count = 0;
};

// The message box of the process's failed save at the end, waiting up to `ms`.
std::optional<MessageBoxSeen> WaitForSaveQuestion(const BarProcess& bar, DWORD ms = 8000);
// Ends it with Retry or Cancel.
void AnswerSaveQuestion(const MessageBoxSeen& box, int button);

// The picture chooser opened from the bar, the third picture of page 1
// chosen, OK.
void ChoosePictureThree(const BarProcess& bar);

}  // namespace robust
