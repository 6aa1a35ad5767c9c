// The few list-view operations the dialogs need: report columns, rows of
// texts (the program's UTF-8) with a small image, the selection mark.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <string_view>

void ListViewInsertColumn(HWND list, int column, std::string_view heading, int width);
// Inserts a row at `row` with the text of column 0 and the image `image`.
void ListViewInsertRow(HWND list, int row, std::string_view text, int image);
void ListViewSetText(HWND list, int row, int column, std::string_view text);
void ListViewDeleteRow(HWND list, int row);
int ListViewRowCount(HWND list);
// The row that holds the selection mark, or -1.
int ListViewSelectionMark(HWND list);
void ListViewSetSelectionMark(HWND list, int row);
