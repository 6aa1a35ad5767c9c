#include "framework/win/DataExchange.h"

#include "framework/win/WideText.h"

std::string WindowText(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
  int copied = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return Utf8(text);
}

void SetText(HWND window, std::string_view text) { SetWindowTextW(window, Wide(text).c_str()); }

LRESULT SendText(HWND window, UINT message, WPARAM wParam, std::string_view text) {
  return SendMessageW(window, message, wParam, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

void DataExchange::Control(int id, HWND& control) {
  if (!control) control = GetDlgItem(m_dialog, id);
}

void DataExchange::Text(int id, std::string& value) {
  HWND control = GetDlgItem(m_dialog, id);
  if (m_saving) {
    value = WindowText(control);
  } else {
    SetText(control, value);
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
