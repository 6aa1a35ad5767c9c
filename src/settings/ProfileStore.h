// The two operations through which the program reaches its settings file.
//
// On Windows they are the profile functions (GetPrivateProfileStringA and
// WritePrivateProfileStringA, src/settings/win/); the portable implementation
// (IniFile) behaves the same as far as the program can see, and is what the
// core tests use on real files.
#pragma once

#include <string>
#include <string_view>

// The profile API reads through a buffer of this size: a value is seen as at
// most kValueBufferSize - 1 bytes.
inline constexpr size_t kValueBufferSize = 1024;
inline constexpr size_t kMaxValueLength = kValueBufferSize - 1;

class ProfileStore {
 public:
  virtual ~ProfileStore() = default;

  // The value of `key` in `section` of the file at `path`, blanks around it
  // removed, one pair of enclosing quotes removed, cut to kMaxValueLength
  // bytes; `defaultValue` when the file, the section or the key is missing.
  virtual std::string Read(const std::string& path, std::string_view section,
                           std::string_view key, std::string_view defaultValue) = 0;

  // Sets `key` in `section` to `value`: replaces the value in place, or adds
  // the key at the end of its section, or adds the section at the end of the
  // file, or creates the file. Failures are not reported.
  virtual void Write(const std::string& path, std::string_view section, std::string_view key,
                     std::string_view value) = 0;
};
