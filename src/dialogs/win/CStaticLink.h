// A static text control that behaves as a hyperlink: underlined text in blue,
// a pointing hand over it, a click opens its target through the shell and
// turns it purple. Any static control of any dialog becomes one when a
// CStaticLink subclasses it after the dialog's controls exist.
//
// The dialog reflects its colour query to the control (Dialog::kReflectBase),
// which is how the link chooses its own font and colour.
#pragma once

#include <windows.h>

#include "dialogs/win/LinkTarget.h"
#include "framework/win/Handle.h"
#include "framework/win/SubclassedWindow.h"

class CStaticLink : public StaticControl {
 public:
  static constexpr COLORREF kUnvisitedLinkColor = RGB(0, 0, 255);
  static constexpr COLORREF kVisitedLinkColor = RGB(128, 0, 128);

  // `target` may be null: a click then opens the string resource with the
  // control's id, or else the control's caption. An object with `autoDelete`
  // set must be made with new: it deletes itself after its window is gone.
  explicit CStaticLink(const char* target = nullptr, BOOL autoDelete = FALSE);
  ~CStaticLink() override;

  const char* RuntimeClassName() const override { return "CStaticLink"; }

  LinkTarget m_target;          // what a click opens
  COLORREF m_textColor;         // blue until the target has been opened once
  FontHandle m_underlineFont;   // the control's font, underlined; made on first draw
  BOOL m_autoDelete;

 protected:
  void OnFinalMessage() override;

 private:
  Result OnColorQuery(HDC dc);
  Result OnLeftButtonDown();
  Result OnSetCursor();
  static HCURSOR LinkCursor();

  // The hand cursor, shared by every link of the process and never destroyed;
  // it is looked for once only, found or not.
  static HCURSOR s_linkCursor;
  static BOOL s_linkCursorTried;
};
