// Waits until Quarrow's bar is on screen: a visible top-level window of a
// process whose program is Quarrow.exe. Exit status 0 when it is, 1 when it
// has not appeared within the seconds given (default 30). ./start.sh uses it
// before it takes its screenshot.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace {

bool IsQuarrow(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return false;
  wchar_t path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  bool quarrow = false;
  if (QueryFullProcessImageNameW(process, 0, path, &size)) {
    const wchar_t* name = std::wcsrchr(path, L'\\');
    quarrow = lstrcmpiW(name ? name + 1 : path, L"Quarrow.exe") == 0;
  }
  CloseHandle(process);
  return quarrow;
}

BOOL CALLBACK FindBar(HWND window, LPARAM found) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  RECT r{};
  if (IsWindowVisible(window) && GetWindowRect(window, &r) && r.right > r.left && IsQuarrow(processId)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
  for (int waited = 0; waited < seconds * 10; ++waited) {
    HWND bar = nullptr;
    EnumWindows(FindBar, reinterpret_cast<LPARAM>(&bar));
    if (bar) {
      RECT r{};
      GetWindowRect(bar, &r);
      std::printf("%ld,%ld %ldx%ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
      return 0;
    }
    Sleep(100);
  }
  return 1;
}
