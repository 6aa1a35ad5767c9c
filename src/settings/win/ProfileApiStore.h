// The settings file through the Windows profile functions, as the program
// uses it on Windows.
#pragma once

#include <string>
#include <string_view>

#include "settings/ProfileStore.h"
#include "settings/SettingsFile.h"

class ProfileApiStore : public ProfileStore {
 public:
  // GetPrivateProfileStringA through a buffer of kValueBufferSize bytes.
  std::string Read(const std::string& path, std::string_view section, std::string_view key,
                   std::string_view defaultValue) override;
  // WritePrivateProfileStringA; its result is not looked at.
  void Write(const std::string& path, std::string_view section, std::string_view key,
             std::string_view value) override;
};

// Quarrow.ini in the process's current directory, read and written through
// the profile functions (one store shared by the whole process).
SettingsFile CurrentDirectorySettingsFile();

// The current directory, whatever its length.
std::string CurrentDirectory();
