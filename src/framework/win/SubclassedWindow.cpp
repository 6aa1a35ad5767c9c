#include "framework/win/SubclassedWindow.h"

namespace {

// The window property that leads from the window to its object.
// (GWLP_USERDATA belongs to the window's class, not to us.)
constexpr const wchar_t* kObjectProperty = L"Quarrow.SubclassedWindow";

}  // namespace

SubclassedWindow::~SubclassedWindow() { Unsubclass(); }

bool SubclassedWindow::Subclass(HWND window) {
  if (m_hwnd || !window || !IsWindow(window) || GetPropW(window, kObjectProperty)) return false;
  if (!SetPropW(window, kObjectProperty, this)) return false;
  m_hwnd = window;
  m_original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassedWindow::StaticProc)));
  return true;
}

void SubclassedWindow::Unsubclass() {
  if (!m_hwnd) return;
  // Only put the old procedure back if nobody has subclassed the window since.
  if (IsWindow(m_hwnd) &&
      GetWindowLongPtrW(m_hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SubclassedWindow::StaticProc)) {
    SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_original));
  }
  RemovePropW(m_hwnd, kObjectProperty);
  m_hwnd = nullptr;
}

void SubclassedWindow::OnMessageRange(UINT first, UINT last, MessageHandler handler) {
  m_table.push_back({first, last, std::move(handler)});
}

LRESULT CALLBACK SubclassedWindow::StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<SubclassedWindow*>(GetPropW(window, kObjectProperty));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  return self->Proc(message, wParam, lParam);
}

LRESULT SubclassedWindow::Proc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCDESTROY) {
    HWND window = m_hwnd;
    WNDPROC original = m_original;
    Unsubclass();
    return CallWindowProcW(original, window, message, wParam, lParam);
  }
  // A handler may end the window (and with it the object): keep what the
  // default processing needs.
  HWND window = m_hwnd;
  WNDPROC original = m_original;
  for (const Binding& binding : m_table) {
    if (message < binding.first || message > binding.last) continue;
    Result result = binding.handler(wParam, lParam);
    if (result.handled) return result.value;
    break;
  }
  return CallWindowProcW(original, window, message, wParam, lParam);
}
