// The bar on screens of any density. The program is DPI-aware (its manifest
// says so), so Windows draws it at the real density of its monitor instead of
// stretching a 96-DPI picture: the template grows with its font by itself,
// and what the bar sizes itself (the icons, the docking sizes) is measured
// for the density of the monitor the bar is on, and again when that changes.
#include "bar/win/SearchBarDlg.h"

#include <utility>

#include "framework/win/Dpi.h"
#include "resource.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

void SearchBarDlg::BindDpiMessages() {
  OnMessage(WM_DPICHANGED, [this](WPARAM dpis, LPARAM suggested) { return OnDpiChanged(dpis, suggested); });
}

// The application icon at the small size of the taskbar's density for the
// notification area, which may be on another monitor (the new icon is in
// place before the old one is destroyed); the standard size of the bar's
// density (AppIcon) is loaded again when next needed.
void SearchBarDlg::LoadAppIcons() {
  m_appIcon.Reset();  // loaded at the new density when next shown
  UINT trayDpi = dpi::WindowDpi(FindWindowW(L"Shell_TrayWnd", nullptr));
  IconHandle tray(dpi::LoadProgramIcon(IDI_APP, trayDpi, dpi::IconSize::Small));
  m_trayIcon.SetIcon(tray.Get());
  m_trayAppIcon = std::move(tray);
}

// Only a drag or the minimised bar shows it: not loaded before the first frame.
HICON SearchBarDlg::AppIcon() {
  if (!m_appIcon) m_appIcon.Reset(dpi::LoadProgramIcon(IDI_APP, m_dpi, dpi::IconSize::Standard));
  return m_appIcon.Get();
}

// WM_DPICHANGED: the bar was dragged onto a monitor of another density, or the
// user changed the scale. The dialog manager scales the template's font and
// controls itself (the default processing, which runs afterwards); the bar
// takes the rectangle Windows suggests, so that it stays under the cursor
// while dragged, and loads its icons and measures its sizes again.
Dialog::Result SearchBarDlg::OnDpiChanged(WPARAM dpis, LPARAM suggested) {
  m_dpi = LOWORD(dpis);
  LoadAppIcons();
  // The button shows the new size before the icons of the old one go.
  auto oldIcons = std::move(m_engineIcons);
  SetEngineIcon(m_engineIconPosition);
  MeasureDesktop();
  m_pictureBrush.Reset();  // made again at the new client size
  const RECT* rect = reinterpret_cast<const RECT*>(suggested);
  if (rect) {
    SetWindowPos(Hwnd(), nullptr, rect->left, rect->top, rect->right - rect->left,
                 rect->bottom - rect->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The suggested rectangle keeps the bar under the cursor, not on its edge:
  // a docked bar goes back onto its edge at its new size.
  m_docking.KeepOnEdge();
  InvalidateRect(Hwnd(), nullptr, TRUE);
  return kNotHandled;
}
