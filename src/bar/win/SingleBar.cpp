#include "bar/win/SingleBar.h"

#include <string_view>

#include "bar/BarInstance.h"
#include "framework/win/WideText.h"
#include "base/Unicode.h"

namespace {

// The key of this process's bar, for the window property (set by Claim).
std::wstring g_barKey;

std::wstring FromUnits(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

struct FoundBar {
  const std::wstring* key;
  HWND bar = nullptr;
};

BOOL CALLBACK FindMarkedBar(HWND window, LPARAM found) {
  auto* search = reinterpret_cast<FoundBar*>(found);
  if (!GetPropW(window, search->key->c_str())) return TRUE;
  search->bar = window;
  return FALSE;
}

// Hands `request` to the running bar; false when it did not take it.
bool HandOver(HWND bar, const CommandLine& request) {
  if (request.command != BarCommand::Search && request.command != BarCommand::Exit) {
    DWORD process = 0;
    GetWindowThreadProcessId(bar, &process);
    AllowSetForegroundWindow(process);  // this start has the user's foreground right
    return PostMessageW(bar, SingleBar::RevealMessage(), 0, 0) != FALSE;
  }
  COPYDATASTRUCT data{};
  data.dwData = request.command == BarCommand::Search ? SingleBar::kSearchRequest : SingleBar::kExitRequest;
  data.cbData = static_cast<DWORD>(request.text.size());
  data.lpData = const_cast<char*>(request.text.data());
  // A bar busy in a dialog still takes it (its dialog's loop dispatches it);
  // a hung one is not waited for long.
  DWORD_PTR taken = FALSE;
  return SendMessageTimeoutW(bar, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000,
                             &taken) &&
         taken;
}

}  // namespace

SingleBar::SingleBar(const std::string& settingsPath)
    : m_key(FromUnits(BarInstanceKey(Utf8ToUtf16(settingsPath)))) {}

SingleBar::~SingleBar() {
  if (m_mutex) CloseHandle(m_mutex);
}

bool SingleBar::Claim(const CommandLine& request) {
  g_barKey = m_key;
  // Owned by the first start; released by the system when its process ends.
  m_mutex = CreateMutexW(nullptr, TRUE, (L"Local\\" + m_key).c_str());
  if (!m_mutex) return true;  // no mutex to be had: run as before
  if (GetLastError() != ERROR_ALREADY_EXISTS) return true;
  // Another copy holds it. It is either running (its bar will be found) or
  // ending (the mutex becomes free); while it starts, its bar is not there yet.
  for (int attempt = 0; attempt < 100; ++attempt) {
    DWORD wait = WaitForSingleObject(m_mutex, 0);
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) return true;
    FoundBar found{&m_key};
    EnumWindows(FindMarkedBar, reinterpret_cast<LPARAM>(&found));
    if (found.bar) {
      m_answered = HandOver(found.bar, request);
      return false;
    }
    Sleep(100);
  }
  return false;
}

void SingleBar::MarkBarWindow(HWND bar) {
  if (!g_barKey.empty()) SetPropW(bar, g_barKey.c_str(), reinterpret_cast<HANDLE>(1));
}

void SingleBar::UnmarkBarWindow(HWND bar) {
  if (!g_barKey.empty()) RemovePropW(bar, g_barKey.c_str());
}

UINT SingleBar::RevealMessage() {
  static const UINT message = RegisterWindowMessageW(L"Quarrow.RevealBar");
  return message;
}
