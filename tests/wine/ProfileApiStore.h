// The settings file through the Windows profile functions: the reference that
// the tests hold the program's own reading and saving to. Texts are the
// program's UTF-8 either way.
#pragma once

#include <string>
#include <string_view>

#include "settings/ProfileStore.h"
#include "settings/SettingsFile.h"

// Through the ANSI functions, exact only in code page 936 (GBK): texts go
// to them as GBK bytes, bytes that are no character as themselves; a value
// read through a buffer of kValueBufferSize bytes, cut at 1023 bytes of GBK.
// Or through the wide functions, for files in UTF-16: a buffer of
// kValueBufferSize units, cut at 1023 of them. A write's result is not looked at.
class ProfileApiStore : public ProfileStore {
 public:
  enum class Functions { kAnsi, kWide };
  explicit ProfileApiStore(Functions functions = Functions::kAnsi) : m_wide(functions == Functions::kWide) {}

  std::string Read(const std::string& path, std::string_view section, std::string_view key,
                   std::string_view defaultValue) override;
  void Write(const std::string& path, std::string_view section, std::string_view key,
             std::string_view value) override;
  std::string ReadableCut(const std::string& path, std::string_view value) override;

 private:
  bool m_wide;
};

// Quarrow.ini in the process's current directory, read and written through
// the ANSI profile functions (one store shared by the whole process).
SettingsFile CurrentDirectorySettingsFile();
