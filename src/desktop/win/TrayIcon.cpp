#include "desktop/win/TrayIcon.h"

#include <cstring>

#include "framework/win/WideText.h"

namespace {

// The first form of the record: what every version of the shell reads, with a
// tooltip of 64 UTF-16 units.
constexpr DWORD kRecordSize = NOTIFYICONDATAW_V1_SIZE;
constexpr size_t kTipField = 64;
// A balloon needs the second form (shell 5.0, Windows 2000 on); the icon
// itself keeps the first.
constexpr DWORD kBalloonRecordSize = NOTIFYICONDATAW_V2_SIZE;
constexpr int kBalloonMs = 10000;  // what Windows before Vista asks; later ones decide themselves

// `text` into the zero-ended field `field`, cut on a character boundary.
template <size_t N>
void CopyField(wchar_t (&field)[N], std::string_view text) {
  std::wstring wide = Wide(CutToUtf16Units(text, N - 1));
  std::memset(field, 0, sizeof field);
  std::memcpy(field, wide.data(), wide.size() * sizeof(wchar_t));
}
static_assert(sizeof(void*) != 4 || kRecordSize == 152);

}  // namespace

TrayIcon::~TrayIcon() { Remove(); }

void TrayIcon::SetIcon(HICON icon) {
  if (!icon) return;
  m_icon = icon;
  if (m_added) {
    m_notifyData.hIcon = m_icon;
    m_notifyData.uFlags = NIF_ICON;
    Shell_NotifyIconW(NIM_MODIFY, &m_notifyData);
  }
}

void TrayIcon::SetTip(std::string_view text) {
  m_tipText = text;
  if (m_added) {
    CopyTip();
    m_notifyData.uFlags = NIF_TIP;
    Shell_NotifyIconW(NIM_MODIFY, &m_notifyData);
  }
}

void TrayIcon::Add(HWND window) {
  if (!m_icon || m_added) return;
  m_notifyData = {};
  m_notifyData.cbSize = kRecordSize;
  m_notifyData.hWnd = window;
  m_notifyData.uID = kTrayIconId;
  m_notifyData.uCallbackMessage = kTrayCallbackMessage;
  CopyTip();
  m_notifyData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  m_notifyData.hIcon = m_icon;
  Shell_NotifyIconW(NIM_ADD, &m_notifyData);
  m_added = true;  // whatever the shell answered
}

void TrayIcon::Remove() {
  if (!m_added) return;
  m_notifyData.uFlags = 0;
  Shell_NotifyIconW(NIM_DELETE, &m_notifyData);
  m_added = false;
}

void TrayIcon::ShowWarning(std::string_view title, std::string_view text) {
  if (!m_added) return;
  NOTIFYICONDATAW balloon{};
  balloon.cbSize = kBalloonRecordSize;
  balloon.hWnd = m_notifyData.hWnd;
  balloon.uID = m_notifyData.uID;
  balloon.uFlags = NIF_INFO;
  balloon.uTimeout = kBalloonMs;
  balloon.dwInfoFlags = NIIF_WARNING;
  CopyField(balloon.szInfoTitle, title);
  CopyField(balloon.szInfo, text);
  Shell_NotifyIconW(NIM_MODIFY, &balloon);
}

void TrayIcon::CopyTip() {
  std::wstring tip = Wide(CutToUtf16Units(m_tipText, kTipField - 1));  // room for the zero
  std::memset(m_notifyData.szTip, 0, sizeof m_notifyData.szTip);
  std::memcpy(m_notifyData.szTip, tip.data(), tip.size() * sizeof(wchar_t));
}
