// The floor of the start-up measurement: the least any program of this kind
// does before it can be used. It shows the bar's dialog template (102) as a
// modal dialog and waits for input, with nothing behind it: no settings read,
// no menus, no picture, no notification icon, no hotkey, no drop target.
// It is linked with Quarrow's own resources and link options, so that the
// two files are alike in size and in what the loader maps.
//
// Built with FLOOR_SAME_IMPORTS it also imports every system library that
// Quarrow.exe imports (one harmless call into each), which tells how much of
// the difference is the loading of those libraries; tools/perf.sh checks
// that the two lists of imported libraries are the same.
#include <windows.h>

#include "bar/win/StartupClock.h"
#include "resource.h"

#ifdef FLOOR_SAME_IMPORTS
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

namespace {

// Never true at run time (the program has no command line arguments), but
// the linker cannot know: every library below stays imported and is loaded.
void TouchQuarrowImports(bool reallyCall) {
  if (!reallyCall) return;
  HKEY key = nullptr;
  RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key);  // advapi32
  if (key) RegCloseKey(key);
#ifdef FLOOR_IMPORTS_COMCTL32
  InitCommonControls();  // comctl32
#endif
  OleUninitialize();            // ole32
  DragFinish(nullptr);          // shell32
  GetStockObject(NULL_BRUSH);   // gdi32
}

}  // namespace
#endif

namespace {

INT_PTR CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      MarkStartup("the dialog's controls made");
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) EndDialog(window, IDCANCEL);
      return TRUE;
    case WM_CLOSE:
      EndDialog(window, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  MarkStartup("WinMain");
#ifdef FLOOR_SAME_IMPORTS
  TouchQuarrowImports(commandLine && lstrcmpA(commandLine, "--touch-imports") == 0);
#else
  (void)commandLine;
#endif
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SEARCHBAR), nullptr, FloorProc, 0);
  return 0;
}
