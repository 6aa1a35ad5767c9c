#include "framework/win/AppTitle.h"

#include <windows.h>

#include "base/Text.h"

std::string AppTitle() {
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string_view file(path, length < MAX_PATH ? length : 0);
  // Walk by characters: the second byte of a GBK character can be a backslash.
  size_t nameStart = 0, dot = std::string_view::npos;
  for (size_t i = 0; i < file.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(file[i]))) {
      ++i;
    } else if (file[i] == '\\' || file[i] == '/') {
      nameStart = i + 1;
      dot = std::string_view::npos;
    } else if (file[i] == '.') {
      dot = i;
    }
  }
  size_t end = dot == std::string_view::npos ? file.size() : dot;
  return std::string(file.substr(nameStart, end - nameStart));
}
