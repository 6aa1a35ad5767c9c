#include "framework/win/AppTitle.h"

#include <windows.h>

#include "base/Text.h"

std::string AppTitle() {
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(FileTitle(std::string_view(path, length < MAX_PATH ? length : 0)));
}
