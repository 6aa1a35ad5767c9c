#include "framework/win/AppTitle.h"

#include <windows.h>

#include "base/Text.h"
#include "framework/win/WideText.h"

std::string AppTitle() {
  wchar_t path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::string(FileTitle(Utf8(std::wstring_view(path, length < MAX_PATH ? length : 0))));
}
