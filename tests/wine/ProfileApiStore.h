// The settings file through the Windows profile functions: the reference that
// the tests hold the program's own reading and saving to. Texts are the
// program's UTF-8 either way.
#pragma once

#include <string>
#include <string_view>

#include "settings/ProfileStore.h"
#include "settings/SettingsFile.h"

// The ANSI functions, exact only in code page 936 (GBK): texts go to them as
// GBK bytes, bytes that are no character as themselves.
class ProfileApiStore : public ProfileStore {
 public:
  // GetPrivateProfileStringA through a buffer of kValueBufferSize bytes.
  std::string Read(const std::string& path, std::string_view section, std::string_view key,
                   std::string_view defaultValue) override;
  // WritePrivateProfileStringA; its result is not looked at.
  void Write(const std::string& path, std::string_view section, std::string_view key,
             std::string_view value) override;
  // 1023 bytes of GBK, as the ANSI functions see a value.
  std::string ReadableCut(const std::string& path, std::string_view value) override;
};

// The wide functions, for files in UTF-16: a buffer of kValueBufferSize units.
class WideProfileApiStore : public ProfileStore {
 public:
  std::string Read(const std::string& path, std::string_view section, std::string_view key,
                   std::string_view defaultValue) override;
  void Write(const std::string& path, std::string_view section, std::string_view key,
             std::string_view value) override;
  std::string ReadableCut(const std::string& path, std::string_view value) override;
};

// Quarrow.ini in the process's current directory, read and written through
// the ANSI profile functions (one store shared by the whole process).
SettingsFile CurrentDirectorySettingsFile();
