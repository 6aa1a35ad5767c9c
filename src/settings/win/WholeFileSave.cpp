#include "settings/win/WholeFileSave.h"

#include <windows.h>

#include <string>

namespace {

// Beside the file, so that the rename stays on its volume; one name per save
// of this process, so that neither another copy of the program nor a cache of
// the profile functions ever takes one save's copy for another's.
std::string CopyPathFor(const std::string& path) {
  static unsigned saves = 0;
  return path + "." + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++saves) + ".tmp";
}

void RemoveCopy(const std::string& copy) {
  SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_NORMAL);  // a copy of a read-only file is read-only
  DeleteFileA(copy.c_str());
}

}  // namespace

void SaveWholeFile(const SettingsFile& file, const std::function<void(const SettingsFile&)>& save) {
  const std::string& path = file.Path();
  const std::string copy = CopyPathFor(path);
  RemoveCopy(copy);
  // No file yet: the save creates the copy, which then becomes the file.
  const bool exists = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (!exists || CopyFileA(path.c_str(), copy.c_str(), FALSE)) {
    save(file.WithPath(copy));
    if (MoveFileExA(copy.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return;
    RemoveCopy(copy);
  }
  save(file);
}
