// The bar's desktop presence: edge docking and auto-hide, the notification
// icon and hotkey with the two pop-up menus, and the background (a colour or
// a picture). The docking arithmetic and the painting rules are the core's
// (desktop/Docking.h, desktop/Background.h); here they meet the messages.
#include "bar/win/SearchBarDlg.h"

#include <windowsx.h>

#include "bar/HotkeyAction.h"
#include "bar/win/SingleBar.h"
#include "base/Texts.h"
#include "framework/win/Dpi.h"
#include "resource.h"
#include "settings/Keys.h"
#include "settings/win/ReadSettings.h"
#include "settings/win/SettingsPath.h"
#include "settings/win/WholeFileSave.h"

namespace {

constexpr int kHotkeyId = 100;
constexpr int kFormPopPosition = 0;
constexpr int kTrayPopPosition = 1;

// Signed: left of or above the primary screen the coordinates are negative.
ScreenPoint PointOf(LPARAM point) { return {GET_X_LPARAM(point), GET_Y_LPARAM(point)}; }

}  // namespace

void SearchBarDlg::BindDesktopMessages() {
  // Made once, with the bar object, and kept for its whole life.
  m_colorBrush.Reset(CreateSolidBrush(kBackgroundColor));

  OnMessage(WM_MOVING, [this](WPARAM, LPARAM proposed) {
    auto* rect = reinterpret_cast<RECT*>(proposed);
    ScreenRect snapped = ToScreenRect(*rect);
    m_docking.SnapWhileMoving(snapped);
    *rect = ToRect(snapped);
    return kNotHandled;
  });
  OnMessage(WM_SIZING, [this](WPARAM edge, LPARAM proposed) {
    auto* rect = reinterpret_cast<RECT*>(proposed);
    ScreenRect sized = ToScreenRect(*rect);
    m_docking.EnforceMinimumSize(static_cast<SizingEdge>(edge), sized);
    *rect = ToRect(sized);
    return kNotHandled;
  });
  // The default hit test still answers; this only watches the cursor.
  OnMessage(WM_NCHITTEST, [this](WPARAM, LPARAM point) {
    m_docking.OnHitTest(PointOf(point));
    return kNotHandled;
  });
  OnMessage(WM_TIMER, [this](WPARAM id, LPARAM) {
    if (id == kSaveTimer) {
      OnSaveTimer();
      return Handled(0);
    }
    m_docking.OnTimer(static_cast<unsigned>(id));
    return kNotHandled;
  });
  OnMessage(WM_LBUTTONDBLCLK, [this](WPARAM, LPARAM) {
    m_docking.MoveToCorner(m_options.doubleClickRight);
    return kNotHandled;
  });
  // A monitor unplugged or rearranged, or a taskbar moved: the bar is never
  // left off every screen.
  OnMessage(WM_DISPLAYCHANGE, [this](WPARAM, LPARAM) {
    m_docking.OnDisplayChange();
    return kNotHandled;
  });
  OnMessage(WM_SETTINGCHANGE, [this](WPARAM what, LPARAM) {
    if (what == SPI_SETWORKAREA) m_docking.OnDisplayChange();
    return kNotHandled;
  });

  OnMessage(kTrayCallbackMessage, [this](WPARAM, LPARAM mouse) { return OnTrayNotify(mouse); });
  OnMessage(WM_HOTKEY, [this](WPARAM, LPARAM) {
    OnHotkey();
    return Handled(0);
  });
  OnMessage(WM_RBUTTONDOWN, [this](WPARAM, LPARAM) { return OnRightButtonDown(); });
  // Quarrow started again on this settings file: the tray's show, in front.
  OnMessage(SingleBar::RevealMessage(), [this](WPARAM, LPARAM) {
    SetForegroundWindow(Hwnd());
    ShowBar();
    m_docking.ClearRetracting();
    return Handled(0);
  });

  OnMessage(WM_ERASEBKGND, [this](WPARAM dc, LPARAM) {
    return OnEraseBackground(reinterpret_cast<HDC>(dc));
  });
  for (UINT message = WM_CTLCOLORMSGBOX; message <= WM_CTLCOLORSTATIC; ++message) {
    OnMessage(message, [this, message](WPARAM dc, LPARAM control) {
      return OnControlColor(message, reinterpret_cast<HDC>(dc), reinterpret_cast<HWND>(control));
    });
  }
  OnMessage(WM_PAINT, [this](WPARAM, LPARAM) { return OnPaint(); });
  OnMessage(WM_SIZE, [this](WPARAM, LPARAM) {
    m_pictureBrush.Reset();  // the picture is stretched to the new size when next painted
    return kNotHandled;
  });
}

// Stands in for WM_CREATE, which a dialog procedure never receives: the
// taskbar's height and the two system sizes at the bar's density, measured
// once and again when the density changes.
void SearchBarDlg::MeasureDesktop() {
  m_dockingHost.Attach(Hwnd());
  std::optional<ScreenRect> taskbar;
  if (HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr)) {
    RECT rect{};
    GetWindowRect(tray, &rect);
    taskbar = ToScreenRect(rect);
  }
  m_docking.MeasureSizes(taskbar, dpi::SystemMetric(SM_CYEDGE, m_dpi),
                         dpi::SystemMetric(SM_CXFRAME, m_dpi), static_cast<int>(m_dpi));
}

// The end of the initialisation: the icon and the hotkey. Neither result is
// looked at; with the hotkey taken elsewhere the icon and menus still work.
void SearchBarDlg::StartDesktopPresence() {
  m_trayIcon.SetIcon(m_trayAppIcon.Get());
  m_trayIcon.SetTip(kTrayTip);
  m_trayIcon.Add(Hwnd());
  RegisterHotKey(Hwnd(), kHotkeyId, MOD_ALT | MOD_CONTROL, 'S');
  SingleBar::MarkBarWindow(Hwnd());  // a later start on the same settings file finds it
}

// While the window is destroyed; the icon goes later, with the bar object.
void SearchBarDlg::StopDesktopPresence() {
  UnregisterHotKey(Hwnd(), kHotkeyId);
  SingleBar::UnmarkBarWindow(Hwnd());
}

// ---- Showing and hiding.

void SearchBarDlg::ShowBar() {
  if (!m_barShown) ShowWindow(Hwnd(), SW_SHOW);
  m_docking.RevealStep();  // a docked, retracted bar comes back on screen
  SetFocus(m_queryBox);
  m_barShown = true;
}

void SearchBarDlg::HideBar() {
  ShowWindow(Hwnd(), SW_HIDE);
  m_barShown = false;
}

// Ctrl+Alt+S: brings a retracted bar out, hides a shown one, and shows a
// hidden one over the window that was in front (the rule: bar/HotkeyAction.h).
void SearchBarDlg::OnHotkey() {
  HWND foreground = GetForegroundWindow();
  const HotkeyState state{m_docking.Retracting(), m_barShown, foreground != nullptr,
                          foreground && IsWindow(foreground)};
  switch (ActionForHotkey(state)) {
    case HotkeyAction::Reveal:
      UpdateData(true);
      m_docking.RevealStep();
      SetForegroundWindow(Hwnd());
      m_barShown = true;
      m_docking.ClearRetracting();
      break;
    case HotkeyAction::Hide:
      // The controls go back to the held values: text typed since the last
      // exchange does not survive a hide by hotkey.
      UpdateData(false);
      ShowWindow(Hwnd(), SW_HIDE);
      m_barShown = false;
      break;
    case HotkeyAction::Show:
      UpdateData(true);
      ShowWindow(Hwnd(), SW_RESTORE);
      SetForegroundWindow(Hwnd());
      m_barShown = true;
      break;
    case HotkeyAction::Nothing:
      break;
  }
}

// ---- The two pop-up menus.

Dialog::Result SearchBarDlg::OnTrayNotify(LPARAM mouseMessage) {
  if (mouseMessage == WM_LBUTTONDOWN) {
    ShowBar();
  } else if (mouseMessage == WM_RBUTTONUP) {
    TrackPopup(GetSubMenu(m_popupMenus.Get(), kTrayPopPosition));
  }
  return Handled(0);
}

// "FormPop" comes from a fresh copy of menu 135, gone once the menu is closed;
// the chosen command reaches the bar as an ordinary menu command.
Dialog::Result SearchBarDlg::OnRightButtonDown() {
  MenuHandle menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_POPUPS)));
  TrackPopup(GetSubMenu(menu.Get(), kFormPopPosition));
  return kNotHandled;
}

// At the cursor, item 0 in bold, the bar in front so that the menu closes
// when the user clicks elsewhere.
void SearchBarDlg::TrackPopup(HMENU popup) {
  if (!popup) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  SetMenuDefaultItem(popup, 0, TRUE);
  SetForegroundWindow(Hwnd());
  TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, cursor.x, cursor.y, 0,
                 Hwnd(), nullptr);
}

// ---- The background.

// Only which picture: the picture itself is drawn when the picture look is
// first painted, and only then (the colour look never loads it).
void SearchBarDlg::LoadBackgroundPicture() {
  // A resource id is never 0: number -259 (and its 16-bit aliases) names nothing.
  WORD id = PictureBitmapId(m_options.imageNumber);
  m_pictureId = id && FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), RT_BITMAP) ? id : 0;
  m_pictureBrush.Reset();  // made again from the new picture when first needed
}

void SearchBarDlg::ReloadBackgroundPicture() {
  m_options.imageNumber = BarOptions::ReadImageNumber(ReadSettingsSnapshot(m_settingsPath).File());
  LoadBackgroundPicture();
  InvalidateRect(Hwnd(), nullptr, TRUE);
}

// Picture mode with no picture loaded (a number without a bitmap) shows the
// colour look.
BackgroundKind SearchBarDlg::Background() const {
  return BackgroundToPaint(m_options.useImage, m_pictureId != 0);
}

// The whole picture stretched over the whole client area, as a brush: it
// erases the bar, and a check box painted with it (aligned with the
// control's place) shows exactly what lies behind it, so the focus frame a
// box draws by inverting pixels never stays on the picture. Made at the
// first paint of the picture look and kept until the picture or the size
// changes; the picture as loaded goes at once, the brush keeps its own copy.
HBRUSH SearchBarDlg::PictureBrush(HDC dc) {
  if (m_pictureBrush) return m_pictureBrush.Get();
  RECT client{};
  GetClientRect(Hwnd(), &client);
  BitmapHandle picture(LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_pictureId)));
  BitmapHandle image(CreateCompatibleBitmap(dc, client.right, client.bottom));
  BITMAP size{};
  if (!picture || !image || !GetObjectW(picture.Get(), sizeof size, &size)) return nullptr;
  {
    DcHandle from(CreateCompatibleDC(dc)), to(CreateCompatibleDC(dc));
    SelectGuard source(from.Get(), picture.Get()), target(to.Get(), image.Get());
    StretchBlt(to.Get(), 0, 0, client.right, client.bottom, from.Get(), 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
  }
  m_pictureBrush.Reset(CreatePatternBrush(image.Get()));
  return m_pictureBrush.Get();
}

// The colour look is erased by the default processing with the dialog's brush
// from OnControlColor; the picture look with the picture's brush.
Dialog::Result SearchBarDlg::OnEraseBackground(HDC dc) {
  if (Background() != BackgroundKind::Picture) return kNotHandled;
  HBRUSH picture = PictureBrush(dc);
  if (!picture) return kNotHandled;
  RECT client{};
  GetClientRect(Hwnd(), &client);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  FillRect(dc, &client, picture);
  return Handled(TRUE);
}

// Buttons and check boxes: transparent on the picture, light blue in the
// colour look (with the dialog itself). The query box keeps the system's colours.
Dialog::Result SearchBarDlg::OnControlColor(UINT message, HDC dc, HWND control) {
  auto kind = static_cast<ControlKind>(message - WM_CTLCOLORMSGBOX);
  switch (ControlPaintFor(Background(), kind)) {
    case ControlPaint::Transparent:
      SetTextColor(dc, kTextColor);
      SetBkMode(dc, TRANSPARENT);
      if (kind == ControlKind::Static && control) {
        POINT place{0, 0};
        MapWindowPoints(control, Hwnd(), &place, 1);
        SetBrushOrgEx(dc, -place.x, -place.y, nullptr);
        if (HBRUSH picture = PictureBrush(dc)) return Handled(reinterpret_cast<LRESULT>(picture));
      }
      // Push buttons paint their own faces; around them nothing is painted.
      return Handled(reinterpret_cast<LRESULT>(m_hollowBrush));
    case ControlPaint::Colored:
      SetTextColor(dc, kTextColor);
      SetBkColor(dc, kBackgroundColor);
      return Handled(reinterpret_cast<LRESULT>(m_colorBrush.Get()));
    case ControlPaint::Default:
      break;
  }
  return kNotHandled;
}

// Minimised, the bar shows its icon centred; otherwise the controls paint themselves.
Dialog::Result SearchBarDlg::OnPaint() {
  if (!IsIconic(Hwnd())) return kNotHandled;
  PaintGuard paint(Hwnd());
  SendMessageW(Hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.Dc()), 0);
  RECT client{};
  GetClientRect(Hwnd(), &client);
  int icon = dpi::IconPixels(m_dpi, dpi::IconSize::Standard);
  IconOrigin origin = MinimizedIconOrigin(client.right, client.bottom, icon, icon);
  DrawIcon(paint.Dc(), origin.x, origin.y, AppIcon());
  return Handled(0);
}
