// The floors of the start-up measurement, built from this one file:
//
// floor           the least any program of this kind does before it can be
//                 used: the bar's dialog template (102) shown as a modal
//                 dialog, waiting for input, with nothing behind it.
// floor-imports   the same, also importing every system library that
//                 Quarrow.exe imports (one harmless call into each), which
//                 tells how much of the difference is the loading of those
//                 libraries; tools/perf.sh checks the lists of imports match.
// floor-required  floor-imports plus exactly the registrations the bar must
//                 have made when it appears, so that drops, the notification
//                 icon and the hotkey work at once: OLE with a drop target
//                 that takes text, a notification icon (a stock icon), the
//                 global hotkey Ctrl+Alt+S, and the topmost tool-window
//                 style. Nothing else: no settings file, no history, no
//                 pictures, no menus. This is what the bar is measured against.
//
// All are linked with Quarrow's own resources and link options, so that the
// files are alike in size and in what the loader maps. They use the wide
// Win32 functions, as the bar does.
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include "bar/win/StartupClock.h"
#include "resource.h"

#ifdef FLOOR_SAME_IMPORTS
#include <commctrl.h>

namespace {

// Never true at run time (the program has no command line arguments), but
// the linker cannot know: every library below stays imported and is loaded.
void TouchQuarrowImports(bool reallyCall) {
  if (!reallyCall) return;
  HKEY key = nullptr;
  RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key);  // advapi32
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

#ifdef FLOOR_REQUIRED
constexpr UINT kTrayMessage = WM_APP + 1;
constexpr int kHotkeyId = 1;

// Takes dropped text and does nothing with it but read it: what a drop
// target must be to be offered text at all.
class TextDrop final : public IDropTarget {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDropTarget) {
      *object = static_cast<IDropTarget*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // Lives as long as the program: the counts need not free it.
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_references); }
  ULONG STDMETHODCALLTYPE Release() override { return InterlockedDecrement(&m_references); }

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    m_text = data && (HasFormat(data, CF_UNICODETEXT) || HasFormat(data, CF_TEXT));
    return DragOver(0, {}, effect);
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
    if (effect) *effect = m_text ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    FORMATETC format{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (data && SUCCEEDED(data->GetData(&format, &medium))) {
      if (GlobalLock(medium.hGlobal)) GlobalUnlock(medium.hGlobal);
      ReleaseStgMedium(&medium);
    }
    if (effect) *effect = DROPEFFECT_NONE;
    return S_OK;
  }

 private:
  static bool HasFormat(IDataObject* data, CLIPFORMAT clipFormat) {
    FORMATETC format{clipFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return data->QueryGetData(&format) == S_OK;
  }

  LONG m_references = 1;
  bool m_text = false;
};

TextDrop g_drop;
bool g_dropRegistered = false;
NOTIFYICONDATAW g_notifyIcon{};

// The bar's registrations, in the bar's order, each marked with the bar's
// name for the step so that the step tables pair them.
void MakeRequiredRegistrations(HWND window) {
  LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  exStyle &= ~static_cast<LONG_PTR>(WS_EX_APPWINDOW | WS_EX_TOPMOST);
  exStyle |= WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE | WS_EX_TOPMOST;
  SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  MarkStartup("topmost tool window");

  g_dropRegistered = SUCCEEDED(RegisterDragDrop(window, &g_drop));
  MarkStartup("drop target registered");

  g_notifyIcon.cbSize = sizeof g_notifyIcon;
  g_notifyIcon.hWnd = window;
  g_notifyIcon.uID = 1;
  g_notifyIcon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  g_notifyIcon.uCallbackMessage = kTrayMessage;
  g_notifyIcon.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
  lstrcpynW(g_notifyIcon.szTip, L"floor-required", ARRAYSIZE(g_notifyIcon.szTip));
  Shell_NotifyIconW(NIM_ADD, &g_notifyIcon);
  RegisterHotKey(window, kHotkeyId, MOD_ALT | MOD_CONTROL, 'S');
  MarkStartup("notification icon, hotkey");
}

void RemoveRequiredRegistrations(HWND window) {
  if (g_dropRegistered) RevokeDragDrop(window);
  g_dropRegistered = false;
  UnregisterHotKey(window, kHotkeyId);
  Shell_NotifyIconW(NIM_DELETE, &g_notifyIcon);
}
#endif

INT_PTR CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      MarkStartup("the dialog's controls made");
#ifdef FLOOR_REQUIRED
      MakeRequiredRegistrations(window);
#endif
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) EndDialog(window, IDCANCEL);
      return TRUE;
    case WM_CLOSE:
      EndDialog(window, IDCANCEL);
      return TRUE;
#ifdef FLOOR_REQUIRED
    case WM_DESTROY:
      RemoveRequiredRegistrations(window);
      return FALSE;
#endif
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
#ifdef FLOOR_REQUIRED
  HRESULT ole = OleInitialize(nullptr);
  MarkStartup("OLE initialised");
#endif
  DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_SEARCHBAR), nullptr, FloorProc, 0);
#ifdef FLOOR_REQUIRED
  if (SUCCEEDED(ole)) OleUninitialize();
#endif
  return 0;
}
