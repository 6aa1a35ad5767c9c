#include "dialogs/win/CStaticLink.h"

#include <string>

#include "framework/win/DataExchange.h"
#include "framework/win/Dialog.h"

HCURSOR CStaticLink::s_linkCursor = nullptr;
BOOL CStaticLink::s_linkCursorTried = FALSE;

namespace {

// The help viewer's pointing hand.
constexpr int kHelpViewerHandCursor = 106;

// The string resource `id` of the program, or an empty text.
std::string LoadStringResource(UINT id) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  std::string text(256, '\0');
  for (;;) {
    int length = LoadStringA(instance, id, text.data(), static_cast<int>(text.size()));
    if (length <= 0) return {};
    if (static_cast<size_t>(length) + 1 < text.size()) {
      text.resize(static_cast<size_t>(length));
      return text;
    }
    text.resize(text.size() * 2);  // it may have been cut: try a larger buffer
  }
}

}  // namespace

CStaticLink::CStaticLink(const char* target, BOOL autoDelete)
    : m_target(target ? target : ""), m_textColor(kUnvisitedLinkColor), m_autoDelete(autoDelete) {
  // Static controls only get mouse messages when they say the point is theirs.
  OnMessage(WM_NCHITTEST, [](WPARAM, LPARAM) { return Dialog::Handled(HTCLIENT); });
  OnMessage(Dialog::kReflectBase + WM_CTLCOLORSTATIC,
            [this](WPARAM dc, LPARAM) { return OnColorQuery(reinterpret_cast<HDC>(dc)); });
  OnMessage(WM_LBUTTONDOWN, [this](WPARAM, LPARAM) { return OnLeftButtonDown(); });
  OnMessage(WM_SETCURSOR, [this](WPARAM, LPARAM) { return OnSetCursor(); });
}

CStaticLink::~CStaticLink() = default;

void CStaticLink::OnFinalMessage() {
  if (m_autoDelete) delete this;
}

// Text statics are drawn with the underlined font in the link's colour on
// the parent's background. Icons, bitmaps, frames and the like get no brush,
// so they are drawn as usual.
CStaticLink::Result CStaticLink::OnColorQuery(HDC dc) {
  if (StaticType() > SS_RIGHT) return Dialog::Handled(0);
  if (!m_underlineFont) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(Hwnd(), WM_GETFONT, 0, 0));
    if (!font) font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    LOGFONTA description{};
    if (GetObjectA(font, sizeof description, &description) == sizeof description) {
      description.lfUnderline = 1;
      m_underlineFont.Reset(CreateFontIndirectA(&description));
    }
  }
  // Without the underlined font the text keeps the control's own; making it
  // is tried again at the next drawing.
  if (m_underlineFont) SelectObject(dc, m_underlineFont.Get());
  SetTextColor(dc, m_textColor);
  SetBkMode(dc, TRANSPARENT);
  return Dialog::Handled(reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
}

CStaticLink::Result CStaticLink::OnLeftButtonDown() {
  if (m_target.Empty()) {
    // Filled once; the target then stays for later clicks.
    m_target = LoadStringResource(static_cast<UINT>(GetDlgCtrlID(Hwnd())));
    if (m_target.Empty()) m_target = WindowText(Hwnd());
  }
  if (m_target.Empty()) return Dialog::Handled(0);
  HINSTANCE result = m_target.Open();
  if (reinterpret_cast<INT_PTR>(result) <= 32) {
    MessageBeep(0);
  } else {
    m_textColor = kVisitedLinkColor;
    InvalidateRect(Hwnd(), nullptr, TRUE);
  }
  return Dialog::Handled(0);
}

CStaticLink::Result CStaticLink::OnSetCursor() {
  HCURSOR cursor = LinkCursor();
  if (!cursor) return Dialog::Handled(FALSE);  // the cursor stays as it is
  SetCursor(cursor);
  return Dialog::Handled(TRUE);
}

// The help viewer's hand, copied so that it belongs to this process and
// outlives the module, which is released at once. Where there is no help
// viewer with that cursor, the system's own hand.
HCURSOR CStaticLink::LinkCursor() {
  if (s_linkCursor || s_linkCursorTried) return s_linkCursor;
  s_linkCursorTried = TRUE;
  char directory[MAX_PATH] = {};
  UINT length = GetWindowsDirectoryA(directory, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    std::string helpViewer = std::string(directory) + "\\winhlp32.exe";
    ModuleHandle module(LoadLibraryA(helpViewer.c_str()));
    if (module) {
      HCURSOR hand = LoadCursorA(module.Get(), MAKEINTRESOURCEA(kHelpViewerHandCursor));
      if (hand) s_linkCursor = static_cast<HCURSOR>(CopyIcon(hand));
    }
  }
  if (!s_linkCursor) s_linkCursor = LoadCursorA(nullptr, IDC_HAND);
  return s_linkCursor;
}
