// A static text control that behaves as a hyperlink to one fixed address:
// underlined text in blue, a pointing hand over it, a click opens the address
// through the shell and turns it purple. The owner subclasses the control once
// the dialog's controls exist.
//
// The dialog reflects its colour query to the control (Dialog::kReflectBase),
// which is how the link chooses its own font and colour.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "framework/win/Handle.h"
#include "framework/win/SubclassedWindow.h"

class HyperLink : public SubclassedWindow {
 public:
  static constexpr COLORREF kUnvisitedLinkColor = RGB(0, 0, 255);
  static constexpr COLORREF kVisitedLinkColor = RGB(128, 0, 128);

  // An empty target makes a link that opens nothing.
  explicit HyperLink(std::string_view target);

  COLORREF TextColor() const { return m_visited ? kVisitedLinkColor : kUnvisitedLinkColor; }
  // Made on the first drawing; null before.
  HFONT UnderlineFont() const { return m_underlineFont.Get(); }

 private:
  Result OnColorQuery(HDC dc);
  Result OnLeftButtonDown();
  Result OnSetCursor();
  static HCURSOR LinkCursor();

  const std::string m_target;
  bool m_visited = false;
  FontHandle m_underlineFont;  // the control's font, underlined
};
