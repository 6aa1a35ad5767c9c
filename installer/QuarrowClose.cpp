// QuarrowClose.exe: stored in the installer package and run by it before
// anything is changed (install, repair, upgrade, uninstall). A Quarrow that
// runs from the program folder is given the exit command, so that it saves
// its settings and lets go of its file. If one is still running after ten
// seconds, an installation with a user interface asks the user to close it
// (Retry or Cancel); a silent one stops. Exit code 0 lets the installation go
// on; any other stops it before a file is touched, so the program folder is
// never left half removed.
//   QuarrowClose.exe "<program folder>" <UILevel>
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "install/win/RunningCopies.h"

namespace {

constexpr wchar_t kCaption[] = L"Quarrow 网页搜索工具";
constexpr wchar_t kStillRunning[] =
    L"Quarrow 正在运行，没有按要求退出。\n\n"
    L"请在托盘图标的菜单中选择“退出”后单击“重试”。\n"
    L"单击“取消”则停止，不做任何更改。";
constexpr DWORD kWaitMs = 10000;
constexpr int kSilentUiLevel = 2;  // msiexec /qn

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args || count < 2) return 0;  // no folder given: nothing to close
  std::wstring folder = args[1];
  const int uiLevel = count > 2 ? _wtoi(args[2]) : kSilentUiLevel;
  LocalFree(args);
  if (folder.empty()) return 0;
  for (;;) {
    if (EndCopiesRunningFrom(folder, kWaitMs)) return 0;
    if (uiLevel <= kSilentUiLevel) return 1;
    if (MessageBoxW(nullptr, kStillRunning, kCaption, MB_RETRYCANCEL | MB_ICONWARNING | MB_TOPMOST) != IDRETRY) {
      return 1;
    }
  }
}
