#include "settings/win/StarterFile.h"

#include <windows.h>

#include "framework/win/WideText.h"
#include "settings/StarterSettings.h"
#include "settings/win/WholeFileSave.h"

void WriteStarterFileWhereNone(const std::string& path) {
  // Only a file that is not there: one that cannot be read is the user's.
  if (GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES) return;
  if (GetLastError() != ERROR_FILE_NOT_FOUND) return;
  // Not written, the bar runs on the defaults, and its first save tells why.
  (void)SaveWholeFile(path, WriteStarterSettings);
}
