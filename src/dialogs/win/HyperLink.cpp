#include "dialogs/win/HyperLink.h"

#include <shellapi.h>

#include "framework/win/Dialog.h"
#include "framework/win/WideText.h"

namespace {

// The help viewer's pointing hand.
constexpr int kHelpViewerHandCursor = 106;

// The low byte of a static control's style: 0 to 2 are left, centred and
// right text; the higher values are icons, bitmaps, frames and the like.
bool IsTextStatic(HWND control) { return (GetWindowLongW(control, GWL_STYLE) & 0xFF) <= SS_RIGHT; }

}  // namespace

HyperLink::HyperLink(std::string_view target) : m_target(target) {
  // Static controls only get mouse messages when they say the point is theirs.
  OnMessage(WM_NCHITTEST, [](WPARAM, LPARAM) { return Dialog::Handled(HTCLIENT); });
  OnMessage(Dialog::kReflectBase + WM_CTLCOLORSTATIC,
            [this](WPARAM dc, LPARAM) { return OnColorQuery(reinterpret_cast<HDC>(dc)); });
  OnMessage(WM_LBUTTONDOWN, [this](WPARAM, LPARAM) { return OnLeftButtonDown(); });
  OnMessage(WM_SETCURSOR, [this](WPARAM, LPARAM) { return OnSetCursor(); });
}

// Text statics are drawn with the underlined font in the link's colour on
// the parent's background. Icons, bitmaps, frames and the like get no brush,
// so they are drawn as usual.
HyperLink::Result HyperLink::OnColorQuery(HDC dc) {
  if (!IsTextStatic(Hwnd())) return Dialog::Handled(0);
  if (!m_underlineFont) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(Hwnd(), WM_GETFONT, 0, 0));
    if (!font) font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    LOGFONTW description{};
    if (GetObjectW(font, sizeof description, &description) == sizeof description) {
      description.lfUnderline = 1;
      m_underlineFont.Reset(CreateFontIndirectW(&description));
    }
  }
  // Without the underlined font the text keeps the control's own; making it
  // is tried again at the next drawing.
  if (m_underlineFont) SelectObject(dc, m_underlineFont.Get());
  SetTextColor(dc, TextColor());
  SetBkMode(dc, TRANSPARENT);
  return Dialog::Handled(reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
}

HyperLink::Result HyperLink::OnLeftButtonDown() {
  if (m_target.empty()) return Dialog::Handled(0);
  // A result above 32 means that the shell opened it.
  HINSTANCE result = ShellExecuteW(nullptr, L"open", Wide(m_target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(result) <= 32) {
    MessageBeep(0);
  } else {
    m_visited = true;
    InvalidateRect(Hwnd(), nullptr, TRUE);
  }
  return Dialog::Handled(0);
}

HyperLink::Result HyperLink::OnSetCursor() {
  HCURSOR cursor = LinkCursor();
  if (!cursor) return Dialog::Handled(FALSE);  // the cursor stays as it is
  SetCursor(cursor);
  return Dialog::Handled(TRUE);
}

// The help viewer's hand, copied so that it belongs to this process and
// outlives the module, which is released at once. Where there is no help
// viewer with that cursor, the system's own hand. Looked for once, found or
// not, shared by every link and never destroyed.
HCURSOR HyperLink::LinkCursor() {
  static const HCURSOR cursor = [] {
    HCURSOR found = nullptr;
    wchar_t directory[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryW(directory, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
      ModuleHandle module(LoadLibraryW((std::wstring(directory) + L"\\winhlp32.exe").c_str()));
      HCURSOR hand = module ? LoadCursorW(module.Get(), MAKEINTRESOURCEW(kHelpViewerHandCursor)) : nullptr;
      if (hand) found = static_cast<HCURSOR>(CopyIcon(hand));
    }
    return found ? found : LoadCursorW(nullptr, IDC_HAND);
  }();
  return cursor;
}
