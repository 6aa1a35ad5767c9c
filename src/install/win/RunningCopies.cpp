#include "install/win/RunningCopies.h"

#include <tlhelp32.h>

#include "install/ProgramFolder.h"
#include "resource.h"

namespace {

std::u16string Utf16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

std::wstring ProgramOf(DWORD process) {
  HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
  if (!handle) return {};
  std::wstring path(32768, L'\0');
  DWORD size = static_cast<DWORD>(path.size());
  if (!QueryFullProcessImageNameW(handle, 0, path.data(), &size)) size = 0;
  CloseHandle(handle);
  path.resize(size);
  return path;
}

// The bar is the process's top-level dialog without an owner; the exit
// command ends its own modal loops too.
BOOL CALLBACK AskToExit(HWND window, LPARAM process) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != static_cast<DWORD>(process) || GetWindow(window, GW_OWNER)) return TRUE;
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (std::wstring_view(className) == L"#32770") PostMessageW(window, WM_COMMAND, MAKEWPARAM(ID_APP_EXIT, 0), 0);
  return TRUE;
}

}  // namespace

std::vector<DWORD> CopiesRunningFrom(const std::wstring& folder) {
  std::vector<DWORD> copies;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return copies;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (entry.th32ProcessID == GetCurrentProcessId()) continue;
    const std::wstring program = ProgramOf(entry.th32ProcessID);
    if (!program.empty() && IsDirectlyIn(Utf16(program), Utf16(folder))) copies.push_back(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return copies;
}

bool EndCopiesRunningFrom(const std::wstring& folder, DWORD ms) {
  std::vector<HANDLE> running;
  for (DWORD process : CopiesRunningFrom(folder)) {
    HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, process);
    if (!handle) continue;
    running.push_back(handle);
    EnumWindows(AskToExit, static_cast<LPARAM>(process));
  }
  bool ended = true;
  const DWORD start = GetTickCount();
  for (HANDLE handle : running) {
    const DWORD spent = GetTickCount() - start;
    if (WaitForSingleObject(handle, spent < ms ? ms - spent : 0) != WAIT_OBJECT_0) ended = false;
    CloseHandle(handle);
  }
  return ended;
}
