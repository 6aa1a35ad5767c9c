#include "desktop/win/WindowDockingHost.h"

ScreenRect WindowDockingHost::BarRect() const {
  RECT rect{};
  GetWindowRect(m_window, &rect);
  return ToScreenRect(rect);
}

ScreenPoint WindowDockingHost::CursorPos() const {
  POINT cursor{};
  GetCursorPos(&cursor);
  return {cursor.x, cursor.y};
}

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) return TRUE;
  auto& monitors = *reinterpret_cast<std::vector<MonitorArea>*>(list);
  const MonitorArea area{ToScreenRect(info.rcMonitor), ToScreenRect(info.rcWork)};
  if (info.dwFlags & MONITORINFOF_PRIMARY) {
    monitors.insert(monitors.begin(), area);
  } else {
    monitors.push_back(area);
  }
  return TRUE;
}

}  // namespace

std::vector<MonitorArea> WindowDockingHost::Monitors() const {
  std::vector<MonitorArea> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  if (monitors.empty()) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    monitors.push_back({{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
                        ToScreenRect(work)});
  }
  return monitors;
}

void WindowDockingHost::StartTimer(unsigned id, unsigned periodMs) {
  SetTimer(m_window, id, periodMs, nullptr);
}

bool WindowDockingHost::StopTimer(unsigned id) { return KillTimer(m_window, id) != FALSE; }

void WindowDockingHost::PlaceBarAt(int x, int y) {
  SetWindowPos(m_window, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
}

void WindowDockingHost::MoveBarTo(int x, int y) {
  SetWindowPos(m_window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}
