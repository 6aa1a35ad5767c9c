#include "framework/win/ListView.h"

#include "framework/win/WideText.h"

void ListViewInsertColumn(HWND list, int column, std::string_view heading, int width) {
  std::wstring text = Wide(heading);
  LVCOLUMNW data{};
  data.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  data.fmt = LVCFMT_LEFT;
  data.cx = width;
  data.pszText = text.data();
  data.iSubItem = column;
  SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&data));
}

void ListViewInsertRow(HWND list, int row, std::string_view text, int image) {
  std::wstring copy = Wide(text);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = row;
  item.pszText = copy.data();
  item.iImage = image;
  SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void ListViewSetText(HWND list, int row, int column, std::string_view text) {
  std::wstring copy = Wide(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = copy.data();
  SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void ListViewDeleteRow(HWND list, int row) {
  SendMessageW(list, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
}

int ListViewRowCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

int ListViewSelectionMark(HWND list) {
  return static_cast<int>(SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0));
}

void ListViewSetSelectionMark(HWND list, int row) {
  SendMessageW(list, LVM_SETSELECTIONMARK, 0, static_cast<LPARAM>(row));
}
