// The bar's desktop presence: edge docking and auto-hide, the notification
// icon and hotkey, and the background. For now only showing and hiding; the
// other steps keep their places in the initialisation order and are empty.
#include "bar/win/SearchBarDlg.h"

#include "resource.h"
#include "settings/Keys.h"

void SearchBarDlg::BindDesktopMessages() {}

// Taskbar height and system sizes for docking (empty until docking exists).
void SearchBarDlg::MeasureDesktop() {}

// Notification icon and hotkey (empty until they exist).
void SearchBarDlg::StartDesktopPresence() {}
void SearchBarDlg::StopDesktopPresence() {}

// Background picture (empty until background painting exists).
void SearchBarDlg::LoadBackgroundPicture() {}

void SearchBarDlg::ReloadBackgroundPicture() {
  m_imageNumber = m_settingsFile.ReadInt(keys::kSetting, keys::kImgNumber, "1");
  LoadBackgroundPicture();
  InvalidateRect(Hwnd(), nullptr, TRUE);
}

void SearchBarDlg::ShowBar() {
  if (!m_barShown) ShowWindow(Hwnd(), SW_SHOW);
  SetFocus(m_queryBox);
  m_barShown = true;
}

void SearchBarDlg::HideBar() {
  ShowWindow(Hwnd(), SW_HIDE);
  m_barShown = false;
}
