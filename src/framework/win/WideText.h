// The window layer's one edge for text: the program's UTF-8 into the UTF-16
// of the system's wide interfaces and back, every unit kept both ways.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "base/Unicode.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

inline std::wstring Wide(std::string_view text) {
  std::u16string units = Utf8ToUtf16(text);
  return std::wstring(units.begin(), units.end());
}

inline std::string Utf8(std::wstring_view text) {
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}
