#include "framework/win/Dpi.h"

#include "base/Dpi.h"

namespace dpi {
namespace {

// Looked up once; user32 stays loaded for the life of the process.
template <typename Function>
Function FindIn(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (!module) module = LoadLibraryW(library);  // shcore is not loaded by itself
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForSystemFn = UINT(WINAPI*)();
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
// shcore's GetDpiForMonitor; 0 is MDT_EFFECTIVE_DPI.
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

}  // namespace

UINT SystemDpi() {
  static const auto forSystem = FindIn<GetDpiForSystemFn>(L"user32.dll", "GetDpiForSystem");
  if (forSystem) return forSystem();
  HDC screen = GetDC(nullptr);
  int logPixels = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return logPixels > 0 ? static_cast<UINT>(logPixels) : kDefaultDpi;
}

UINT WindowDpi(HWND window) {
  if (!window) return SystemDpi();
  static const auto forWindow = FindIn<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
  if (forWindow) {
    if (UINT dpi = forWindow(window)) return dpi;
  }
  static const auto forMonitor = FindIn<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor");
  if (forMonitor) {
    UINT x = 0, y = 0;
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (SUCCEEDED(forMonitor(monitor, 0, &x, &y)) && y) return y;
  }
  return SystemDpi();
}

int SystemMetric(int index, UINT dpi) {
  static const auto forDpi = FindIn<GetSystemMetricsForDpiFn>(L"user32.dll", "GetSystemMetricsForDpi");
  if (forDpi) return forDpi(index, dpi);
  // Windows 8.1 knows other monitors' densities but gives the sizes only at
  // the system's; Windows 7 has one density, so this changes nothing there.
  return RescaleForDpi(GetSystemMetrics(index), static_cast<int>(SystemDpi()), static_cast<int>(dpi));
}

int IconPixels(UINT dpi, IconSize size) {
  return SystemMetric(size == IconSize::Small ? SM_CXSMICON : SM_CXICON, dpi);
}

HICON LoadProgramIcon(int id, UINT dpi, IconSize size) {
  // Not LR_SHARED: a shared icon must have a standard size, and the size of
  // another monitor's density is not the system's.
  int pixels = IconPixels(dpi, size);
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON,
                                       pixels, pixels, 0));
}

}  // namespace dpi
