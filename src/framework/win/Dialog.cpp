#include "framework/win/Dialog.h"

#include "framework/Centring.h"
#include "framework/win/Geometry.h"

namespace {

// Messages whose result a dialog procedure returns directly instead of
// through DWLP_MSGRESULT.
bool ReturnsValueDirectly(UINT message) {
  switch (message) {
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: case WM_COMPAREITEM: case WM_VKEYTOITEM:
    case WM_CHARTOITEM: case WM_QUERYDRAGICON: case WM_INITDIALOG:
      return true;
    default:
      return false;
  }
}

// The work area of the monitor that holds most of `window`.
RECT WorkAreaOf(HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info)) return info.rcWork;
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

}  // namespace

Dialog::Dialog(int templateId, HWND owner) : m_templateId(templateId), m_owner(owner) {}

Dialog::~Dialog() {
  if (m_hwnd) DestroyWindow(m_hwnd);
}

INT_PTR Dialog::DoModal() {
  bool disableOwner = m_owner && IsWindowEnabled(m_owner);
  if (disableOwner) EnableWindow(m_owner, FALSE);

  m_ended = false;
  m_result = IDCANCEL;
  m_hwnd = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), m_owner,
                              &Dialog::StaticProc, reinterpret_cast<LPARAM>(this));
  if (!m_hwnd) {
    if (disableOwner) EnableWindow(m_owner, TRUE);
    return -1;
  }
  if (!m_ended) ShowWindow(m_hwnd, SW_SHOWNORMAL);

  MSG message;
  while (!m_ended) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));  // for the outer loops
      m_result = -1;
      break;
    }
    if (IsOwnMessage(message) && PreTranslateMessage(message)) continue;
    if (!IsDialogMessageW(m_hwnd, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }

  // Hide first, then give the owner back its input, so that activation returns
  // to the owner and not to some other program.
  SetWindowPos(m_hwnd, nullptr, 0, 0, 0, 0,
               SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
  if (disableOwner) EnableWindow(m_owner, TRUE);
  if (m_owner && GetActiveWindow() == m_hwnd) SetActiveWindow(m_owner);
  DestroyWindow(m_hwnd);
  m_hwnd = nullptr;
  return m_result;
}

void Dialog::EndDialog(INT_PTR result) {
  m_result = result;
  m_ended = true;
  PostMessageW(m_hwnd, WM_NULL, 0, 0);  // wake the loop if it waits
}

void Dialog::UpdateData(bool saving) {
  DataExchange exchange(m_hwnd, saving);
  DoDataExchange(exchange);
}

void Dialog::OnMessage(UINT message, MessageHandler handler) {
  m_table.push_back({Binding::Kind::Message, message, message, 0, std::move(handler), {}, {}});
}

void Dialog::OnCommand(UINT id, CommandHandler handler) {
  OnCommandRange(id, id, [handler = std::move(handler)](UINT) { handler(); });
}

void Dialog::OnCommandRange(UINT first, UINT last, RangeHandler handler) {
  m_table.push_back({Binding::Kind::Command, first, last, 0, {}, std::move(handler), {}});
}

void Dialog::OnControl(UINT id, UINT code, CommandHandler handler) {
  m_table.push_back({Binding::Kind::Control, id, id, code, {},
                     [handler = std::move(handler)](UINT) { handler(); }, {}});
}

void Dialog::OnNotify(UINT id, UINT code, NotifyHandler handler) {
  m_table.push_back({Binding::Kind::Notify, id, id, code, {}, {}, std::move(handler)});
}

BOOL Dialog::OnInitDialog() {
  UpdateData(false);
  return TRUE;
}

void Dialog::OnOK() {
  UpdateData(true);
  EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

void Dialog::DoDataExchange(DataExchange&) {}

bool Dialog::PreTranslateMessage(MSG&) { return false; }

bool Dialog::IsOwnMessage(const MSG& message) const {
  return message.hwnd == m_hwnd || IsChild(m_hwnd, message.hwnd);
}

INT_PTR CALLBACK Dialog::StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    self->m_hwnd = window;
    SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
  }
  return self ? self->Proc(message, wParam, lParam) : FALSE;
}

INT_PTR Dialog::Proc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    RECT before{};
    GetWindowRect(m_hwnd, &before);
    BOOL wantsFocus = OnInitDialog();
    RECT after{};
    GetWindowRect(m_hwnd, &after);
    // Centre the dialog when it is first shown, unless its initialisation placed it.
    if (before.left == after.left && before.top == after.top) CenterOnFirstShow();
    return wantsFocus;
  }
  if (message == WM_DESTROY) OnDestroy();
  // A control may answer its own colour query (a hyperlink static does): the
  // query is reflected to it first, as OCM_CTLCOLOR*, and a brush it returns wins.
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC && lParam) {
    LRESULT brush = SendMessageW(reinterpret_cast<HWND>(lParam), kReflectBase + message, wParam, lParam);
    if (brush) return static_cast<INT_PTR>(brush);
  }

  LRESULT value = 0;
  bool handled = Dispatch(message, wParam, lParam, value);
  if (!handled && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    if (LOWORD(wParam) == IDOK) {
      OnOK();
      handled = true;
    } else if (LOWORD(wParam) == IDCANCEL) {
      OnCancel();
      handled = true;
    }
  }
  if (!handled) return FALSE;
  if (ReturnsValueDirectly(message)) return static_cast<INT_PTR>(value);
  SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, value);
  return TRUE;
}

bool Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& value) {
  UINT id = LOWORD(wParam);
  UINT code = HIWORD(wParam);
  for (const Binding& binding : m_table) {
    switch (binding.kind) {
      case Binding::Kind::Message:
        if (message == binding.first) {
          Result result = binding.onMessage(wParam, lParam);
          value = result.value;
          return result.handled;
        }
        break;
      case Binding::Kind::Command:  // menus and buttons send 0, accelerators 1
        if (message == WM_COMMAND && code <= 1 && id >= binding.first && id <= binding.last) {
          binding.onCommand(id);
          return true;
        }
        break;
      case Binding::Kind::Control:
        if (message == WM_COMMAND && id == binding.first && code == binding.code) {
          binding.onCommand(id);
          return true;
        }
        break;
      case Binding::Kind::Notify:
        if (message == WM_NOTIFY && lParam) {
          auto* header = reinterpret_cast<NMHDR*>(lParam);
          if (header->idFrom == binding.first && header->code == binding.code) {
            value = binding.onNotify(header);
            return true;
          }
        }
        break;
    }
  }
  return false;
}

void Dialog::CenterOnFirstShow() {
  RECT window{};
  GetWindowRect(m_hwnd, &window);
  RECT area = WorkAreaOf(m_hwnd);
  // Over a visible owner; otherwise (and for the main window) on the work area.
  RECT around = area;
  HWND owner = GetWindow(m_hwnd, GW_OWNER);
  if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &around);
  ScreenPoint at = CentredPosition(window.right - window.left, window.bottom - window.top, ToScreenRect(around),
                                   ToScreenRect(area));
  SetWindowPos(m_hwnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
