// The bar's icon in the notification area: a thin owner of one
// Shell_NotifyIconW record, added once and removed when the owner goes.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <string_view>

inline constexpr UINT kTrayIconId = 100;
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;

class TrayIcon {
 public:
  TrayIcon() = default;
  virtual ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // A null icon is ignored. Reaches the shell only while the icon is added.
  void SetIcon(HICON icon);
  // The tooltip, cut to the 63 UTF-16 units the record holds, never inside a character.
  void SetTip(std::string_view text);
  // Adds the icon, once, with `window` receiving its messages; nothing without an icon.
  void Add(HWND window);
  void Remove();
  // A warning in a balloon from the icon, title and text cut to what the
  // record holds; nothing while the icon is not added.
  void ShowWarning(std::string_view title, std::string_view text);

  bool Added() const { return m_added; }

 private:
  void CopyTip();

  bool m_added = false;
  HICON m_icon = nullptr;
  NOTIFYICONDATAW m_notifyData{};
  std::string m_tipText;
};
