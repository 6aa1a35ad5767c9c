// A window that already exists (a dialog's control) taken over by an object:
// every message passes through the object's table first, and what the table
// leaves goes on to the window's own procedure.
//
// A derived class fills its table in its constructor (OnMessage), then the
// owner calls Subclass or SubclassDlgItem once the window exists. At the
// window's last message (WM_NCDESTROY) the object lets go of it.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "framework/win/Dialog.h"

class SubclassedWindow {
 public:
  using Result = Dialog::Result;
  using MessageHandler = Dialog::MessageHandler;

  SubclassedWindow() = default;
  virtual ~SubclassedWindow();  // gives a window that still exists back its own procedure
  SubclassedWindow(const SubclassedWindow&) = delete;
  SubclassedWindow& operator=(const SubclassedWindow&) = delete;

  // False when the window does not exist or an object already holds it.
  bool Subclass(HWND window);
  bool SubclassDlgItem(int id, HWND dialog) { return Subclass(GetDlgItem(dialog, id)); }

  HWND Hwnd() const { return m_hwnd; }

 protected:
  void OnMessage(UINT message, MessageHandler handler) { OnMessageRange(message, message, std::move(handler)); }
  void OnMessageRange(UINT first, UINT last, MessageHandler handler);

 private:
  struct Binding {
    UINT first, last;
    MessageHandler handler;
  };

  static LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Proc(UINT message, WPARAM wParam, LPARAM lParam);
  void Unsubclass();

  HWND m_hwnd = nullptr;
  WNDPROC m_original = nullptr;
  std::vector<Binding> m_table;
};
