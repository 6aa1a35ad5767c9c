// The message both list dialogs give when an added entry is there already.
#pragma once

#include <windows.h>

#include <string_view>

// The entered text, leading blanks removed, and kAlreadyExists, in an
// information box under the program's title, owned by `dialog`.
void ShowAlreadyExists(HWND dialog, std::string_view entered);
