#include "framework/win/ListView.h"

void ListViewInsertColumn(HWND list, int column, std::string_view heading, int width) {
  std::string text(heading);
  LVCOLUMNA data{};
  data.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  data.fmt = LVCFMT_LEFT;
  data.cx = width;
  data.pszText = text.data();
  data.iSubItem = column;
  SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&data));
}

void ListViewInsertRow(HWND list, int row, std::string_view text, int image) {
  std::string copy(text);
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = row;
  item.pszText = copy.data();
  item.iImage = image;
  SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void ListViewSetText(HWND list, int row, int column, std::string_view text) {
  std::string copy(text);
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = copy.data();
  SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void ListViewDeleteRow(HWND list, int row) {
  SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
}

int ListViewRowCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

int ListViewSelectionMark(HWND list) {
  return static_cast<int>(SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0));
}

void ListViewSetSelectionMark(HWND list, int row) {
  SendMessageA(list, LVM_SETSELECTIONMARK, 0, static_cast<LPARAM>(row));
}
