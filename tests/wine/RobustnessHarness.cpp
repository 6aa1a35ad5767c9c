#include "RobustnessHarness.h"

#include <windows.h>
#include <commctrl.h>

#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "resource.h"

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

// ---- Balloons.

std::vector<Balloon> BalloonsShown(const std::string& fragment) {
  std::vector<Balloon> shown;
  for (HWND window : FindWindows({.className = "tooltips_class32", .visibleOnly = true})) {
    if (!(GetWindowLongW(window, GWL_STYLE) & TTS_BALLOON)) continue;
    // Wine's tooltip answers WM_GETTEXT with the text it shows.
    Balloon balloon{window, TextOf(window)};
    if (balloon.text.find(fragment) != std::string::npos) shown.push_back(balloon);
  }
  return shown;
}

// Wine draws the warning triangle in orange (seen: f57900, fcaf3e, ce5c00);
// the information icon is blue, the balloon itself white, grey and black.
bool ShowsWarningIcon(HWND balloon) {
  RECT rect{};
  GetWindowRect(balloon, &rect);
  const ScreenImage image = CaptureScreen(rect);
  int orange = 0;
  for (DWORD pixel : image.pixels) {
    const DWORD r = pixel >> 16 & 0xFF, g = pixel >> 8 & 0xFF, b = pixel & 0xFF;
    if (r >= 0xC0 && g >= 0x40 && g <= 0xC0 && b < 0x60) ++orange;
  }
  return orange >= 20;
}

std::vector<Balloon> BalloonsSeen(const std::string& fragment, DWORD ms) {
  std::vector<Balloon> seen;
  std::set<HWND> windows;
  const DWORD start = GetTickCount();
  do {
    for (Balloon& balloon : BalloonsShown(fragment)) {
      if (windows.insert(balloon.window).second) seen.push_back(std::move(balloon));
    }
    Sleep(50);
  } while (GetTickCount() - start < ms);
  return seen;
}

// ---- Saves counted.

SaveCounter::SaveCounter(const std::string& folder) {
  m_folder = CreateFileW(Wide(folder).c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
  m_event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  Listen();
}

SaveCounter::~SaveCounter() {
  if (m_folder != INVALID_HANDLE_VALUE) {
    CancelIo(m_folder);
    CloseHandle(m_folder);
  }
  if (m_event) CloseHandle(m_event);
}

void SaveCounter::Listen() {
  if (m_folder == INVALID_HANDLE_VALUE) return;
  ResetEvent(m_event);
  m_overlapped = {};
  m_overlapped.hEvent = m_event;
  if (!ReadDirectoryChangesW(m_folder, m_buffer, sizeof m_buffer, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME, nullptr,
                             &m_overlapped, nullptr)) {
    CloseHandle(m_folder);
    m_folder = INVALID_HANDLE_VALUE;
  }
}

int SaveCounter::Count(DWORD settleMs) {
  const DWORD start = GetTickCount();
  while (m_folder != INVALID_HANDLE_VALUE) {
    const DWORD spent = GetTickCount() - start;
    if (WaitForSingleObject(m_event, spent < settleMs ? settleMs - spent : 0) != WAIT_OBJECT_0) break;
    DWORD bytes = 0;
    if (!GetOverlappedResult(m_folder, &m_overlapped, &bytes, FALSE)) break;
    for (size_t at = 0; bytes > 0;) {
      const auto* change = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(m_buffer + at);
      const std::string name = Utf8(std::wstring(change->FileName, change->FileNameLength / sizeof(wchar_t)));
      if (change->Action == FILE_ACTION_ADDED && name.rfind("Quarrow.ini.", 0) == 0 &&
          name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0) {
        ++m_count;
      }
      if (!change->NextEntryOffset) break;
      at += change->NextEntryOffset;
    }
    Listen();
  }
  return m_count;
}

// ---- The question at the end.

std::optional<MessageBoxSeen> WaitForSaveQuestion(const BarProcess& bar, DWORD ms) {
  std::optional<MessageBoxSeen> box = WaitForMessageBox(bar.ProcessId(), bar.Bar(), ms);
  if (box && box->caption != "设置未能保存") return std::nullopt;
  return box;
}

void AnswerSaveQuestion(const MessageBoxSeen& box, int button) {
  PostMessageW(GetDlgItem(box.window, button), BM_CLICK, 0, 0);
}


void ChoosePictureThree(const BarProcess& bar) {
  HWND dialog = OpenDialog(bar, ID_CHOOSE_PICTURE, "选择背景图片(第一页)");
  ASSERT_NE(dialog, nullptr);
  DialogDriver driver(bar, dialog);
  driver.Click(IDC_PICTURE_RADIO_FIRST + 2);
  ASSERT_TRUE(driver.End(IDOK));
}

}  // namespace robust
