#include "desktop/win/WindowDockingHost.h"

ScreenRect ToScreenRect(const RECT& rect) {
  return {rect.left, rect.top, rect.right, rect.bottom};
}

RECT ToRect(const ScreenRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

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

PixelSize WindowDockingHost::ScreenSize() const {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

ScreenRect WindowDockingHost::WorkArea() const {
  RECT area{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  return ToScreenRect(area);
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
