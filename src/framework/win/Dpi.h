// The density of a window's monitor and the system's sizes at a density, on
// every Windows from 7 on. The per-monitor functions are looked up at run time
// (Windows 10 1607: GetDpiForWindow, GetSystemMetricsForDpi, GetDpiForSystem;
// Windows 8.1: GetDpiForMonitor); without them the system DPI stands for
// every monitor, which is all Windows 7 knows.
#pragma once

#include <windows.h>

namespace dpi {

// The DPI the program was started with (the primary monitor's at logon).
UINT SystemDpi();
// The DPI of the monitor `window` is on; the system DPI for no window.
UINT WindowDpi(HWND window);
// GetSystemMetrics(index) as a window at `dpi` sees it.
int SystemMetric(int index, UINT dpi);

enum class IconSize { Small, Standard };  // SM_CXSMICON, SM_CXICON
// Icon resource `id` of the program at the size `dpi` asks for, picked from
// the icon's drawn sizes by the system; the caller owns it (DestroyIcon).
HICON LoadProgramIcon(int id, UINT dpi, IconSize size);
// That size in pixels (icons are square).
int IconPixels(UINT dpi, IconSize size);

}  // namespace dpi
