#include "framework/win/DataExchange.h"

std::string WindowText(HWND window) {
  int length = GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
  int copied = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

void DataExchange::Control(int id, HWND& control) {
  if (!control) control = GetDlgItem(m_dialog, id);
}

void DataExchange::Text(int id, std::string& value) {
  HWND control = GetDlgItem(m_dialog, id);
  if (m_saving) {
    value = WindowText(control);
  } else {
    SetWindowTextA(control, value.c_str());
  }
}

void DataExchange::Check(int id, bool& checked) {
  if (m_saving) {
    checked = IsDlgButtonChecked(m_dialog, id) == BST_CHECKED;
  } else {
    CheckDlgButton(m_dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
  }
}

void DataExchange::Radio(std::initializer_list<int> ids, int& index) {
  int position = 0;
  if (m_saving) {
    index = -1;
    for (int id : ids) {
      if (IsDlgButtonChecked(m_dialog, id) == BST_CHECKED) {
        index = position;
        return;
      }
      ++position;
    }
    return;
  }
  for (int id : ids) {
    CheckDlgButton(m_dialog, id, position == index ? BST_CHECKED : BST_UNCHECKED);
    ++position;
  }
}
