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
//                 pictures, no menus.
// floor-shows     floor-required plus what the bar draws that no program of
//                 its kind can leave out: the captions of the Search, keyword
//                 and site buttons read from the settings file it starts on,
//                 and in the picture look (the default) the picture stretched
//                 over the window as its background. A caption cannot be
//                 drawn without its glyphs, nor the picture without its
//                 pages, so those count on the floor's side. Nothing else: no
//                 menus, no history, no icons beyond floor-required's; in the
//                 colour look the template's own colours (the bar's light
//                 blue is a solid brush, nothing to load or draw beforehand).
//                 This is what the bar is measured against.
//
// All are linked with Quarrow's own resources and link options, so that the
// files are alike in size and in what the loader maps. They use the wide
// Win32 functions, as the bar does.
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include "bar/win/StartupClock.h"
#include "resource.h"
#ifdef FLOOR_SHOWS
#include "base/Texts.h"
#include "settings/Keys.h"
#endif

#ifdef FLOOR_SAME_IMPORTS

namespace {

// Never true at run time (the program has no command line arguments), but
// the linker cannot know: every library below stays imported and is loaded.
void TouchQuarrowImports(bool reallyCall) {
  if (!reallyCall) return;
  HKEY key = nullptr;
  RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key);  // advapi32
  if (key) RegCloseKey(key);
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
// name for the step so that the step tables pair them; floor-shows reads and
// sets what it shows between the first and the rest, where the bar does.
void MakeTopmostToolWindow(HWND window) {
  LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  exStyle &= ~static_cast<LONG_PTR>(WS_EX_APPWINDOW | WS_EX_TOPMOST);
  exStyle |= WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE | WS_EX_TOPMOST;
  SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  MarkStartup("topmost tool window");
}

void MakeRequiredRegistrations(HWND window) {
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

#ifdef FLOOR_SHOWS
// The settings file the bar starts on: Quarrow.ini in the working folder. The
// platform's profile reader is enough for three captions and two numbers: it
// takes a file with a byte-order mark as UTF-16 or UTF-8, and one without in
// the system's code page. The bar reads that file as GBK on every system; the
// measurements run where the code page is GBK (936), so both read the same.
wchar_t g_settingsPath[MAX_PATH + 16];

// The bar's own names and defaults (UTF-8, plain ASCII for the names) as the
// wide text the profile reader takes.
struct WideText {
  explicit WideText(std::string_view utf8) {
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text, ARRAYSIZE(text) - 1);
    text[length > 0 ? length : 0] = L'\0';
  }
  wchar_t text[64];
};

// The buttons whose captions come from the settings file: each list's entry 0,
// the bar's default where the file has none.
struct ShownCaption {
  int control;
  std::string_view section, key, fallback;
};
constexpr ShownCaption kShownCaptions[] = {
    {IDC_SEARCH, keys::kEngine, "E0", kDefaultEngineName},
    {IDC_KEYWORD_BUTTON, keys::kKey, "K0", kDefaultKeyword},
    {IDC_SITE_BUTTON, keys::kSite, "S0", kDefaultSite},
};

WORD g_pictureId = 0;  // 0: the colour look, or no picture of that number
HBRUSH g_pictureBrush = nullptr;

UINT ReadSetting(std::string_view key, int fallback) {
  return GetPrivateProfileIntW(WideText(keys::kSetting).text, WideText(key).text, fallback, g_settingsPath);
}

// What the bar's first frame shows from the settings file, step by step
// under the bar's names for its steps. The picture is only found here; it is
// drawn at the first paint, as the bar draws it.
void ShowTheSettings(HWND window) {
  DWORD folder = GetCurrentDirectoryW(MAX_PATH, g_settingsPath);
  if (folder == 0 || folder >= MAX_PATH) g_settingsPath[0] = L'\0';
  lstrcatW(g_settingsPath, L"\\Quarrow.ini");  // a bare name would be looked for in the Windows folder
  wchar_t captions[ARRAYSIZE(kShownCaptions)][1024];  // the bar keeps at most 1023 units of a value
  for (size_t i = 0; i < ARRAYSIZE(kShownCaptions); ++i) {
    const ShownCaption& shown = kShownCaptions[i];
    GetPrivateProfileStringW(WideText(shown.section).text, WideText(shown.key).text, WideText(shown.fallback).text,
                             captions[i], ARRAYSIZE(captions[i]), g_settingsPath);
  }
  bool picture = ReadSetting(keys::kUseImg, 1) != 0;
  // Picture n is bitmap 259 + n, cut to a 16-bit id as the bar cuts it.
  WORD id = static_cast<WORD>(259u + ReadSetting(keys::kImgNumber, 1));
  MarkStartup("settings file read");
  for (size_t i = 0; i < ARRAYSIZE(kShownCaptions); ++i) {
    SetDlgItemTextW(window, kShownCaptions[i].control, captions[i]);
  }
  MarkStartup("menus filled, engine chosen");
  if (picture && id && FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), RT_BITMAP)) g_pictureId = id;
  MarkStartup("background picture loaded");
}

// The picture stretched once over the whole client area, as the bar's brush:
// it erases the window, and a check box painted with it (aligned with the
// box's place) shows what lies behind it. The picture as loaded goes at once.
HBRUSH PictureBrush(HWND window, HDC dc) {
  if (g_pictureBrush || !g_pictureId) return g_pictureBrush;
  RECT client{};
  GetClientRect(window, &client);
  HBITMAP picture = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(g_pictureId));
  HBITMAP image = CreateCompatibleBitmap(dc, client.right, client.bottom);
  BITMAP size{};
  if (picture && image && GetObjectW(picture, sizeof size, &size)) {
    HDC from = CreateCompatibleDC(dc), to = CreateCompatibleDC(dc);
    HGDIOBJ fromBefore = SelectObject(from, picture), toBefore = SelectObject(to, image);
    StretchBlt(to, 0, 0, client.right, client.bottom, from, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    SelectObject(from, fromBefore);
    SelectObject(to, toBefore);
    DeleteDC(from);
    DeleteDC(to);
    g_pictureBrush = CreatePatternBrush(image);
  }
  if (picture) DeleteObject(picture);
  if (image) DeleteObject(image);
  if (!g_pictureBrush) g_pictureId = 0;  // not tried again at every paint: the template's look instead
  return g_pictureBrush;
}

// The picture look's colours, as the bar's: black text on the picture; check
// boxes get the brush, push buttons paint their own faces and nothing around
// them. The query box keeps the system's colours.
INT_PTR ControlColour(HWND window, UINT message, HDC dc, HWND control) {
  if (!g_pictureId || (message != WM_CTLCOLORBTN && message != WM_CTLCOLORSTATIC)) return FALSE;
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  if (message == WM_CTLCOLORSTATIC && control) {
    POINT place{0, 0};
    MapWindowPoints(control, window, &place, 1);
    SetBrushOrgEx(dc, -place.x, -place.y, nullptr);
    if (HBRUSH picture = PictureBrush(window, dc)) return reinterpret_cast<INT_PTR>(picture);
  }
  return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
}

bool EraseWithPicture(HWND window, HDC dc) {
  HBRUSH picture = PictureBrush(window, dc);
  if (!picture) return false;
  RECT client{};
  GetClientRect(window, &client);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  FillRect(dc, &client, picture);
  return true;
}
#endif

INT_PTR CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, [[maybe_unused]] LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      MarkStartup("the dialog's controls made");
#ifdef FLOOR_REQUIRED
      MakeTopmostToolWindow(window);
#endif
#ifdef FLOOR_SHOWS
      ShowTheSettings(window);
#endif
#ifdef FLOOR_REQUIRED
      MakeRequiredRegistrations(window);
#endif
      return TRUE;
#ifdef FLOOR_SHOWS
    case WM_ERASEBKGND:
      if (!EraseWithPicture(window, reinterpret_cast<HDC>(wParam))) return FALSE;
      SetWindowLongPtrW(window, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      return ControlColour(window, message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
#endif
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) EndDialog(window, IDCANCEL);
      return TRUE;
    case WM_CLOSE:
      EndDialog(window, IDCANCEL);
      return TRUE;
#ifdef FLOOR_REQUIRED
    case WM_DESTROY:
      RemoveRequiredRegistrations(window);
#ifdef FLOOR_SHOWS
      if (g_pictureBrush) DeleteObject(g_pictureBrush);
      g_pictureBrush = nullptr;
#endif
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
