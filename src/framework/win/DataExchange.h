// Moves values between a dialog's members and its controls, in one routine for
// both directions: loading (members to controls) or saving (controls to members).
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>

class DataExchange {
 public:
  DataExchange(HWND dialog, bool saving) : m_dialog(dialog), m_saving(saving) {}

  bool Saving() const { return m_saving; }
  HWND Dialog() const { return m_dialog; }

  // The handle of control `id`, for the dialog's control members.
  void Control(int id, HWND& control);
  // A control's whole text.
  void Text(int id, std::string& value);
  // A check box (two-state): checked or not.
  void Check(int id, bool& checked);
  // A radio group given as its buttons' ids: the index of the checked button,
  // -1 when none is checked. Loading -1 clears the whole group.
  void Radio(std::initializer_list<int> ids, int& index);

 private:
  HWND m_dialog;
  bool m_saving;
};

// The whole text of a window, however long, as the program's UTF-8.
std::string WindowText(HWND window);
// Sets a window's text from the program's UTF-8.
void SetText(HWND window, std::string_view text);
// Sends `message` with `text`, the program's UTF-8, as its string (a list's
// LB_ADDSTRING, a combo box's CB_INSERTSTRING and the like).
LRESULT SendText(HWND window, UINT message, WPARAM wParam, std::string_view text);
