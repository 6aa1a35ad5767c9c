// The operations through which the program reaches its settings file. Texts
// are the program's UTF-8.
//
// The program's own implementation is the settings file read and saved whole
// (SettingsSnapshot); the portable IniFile does the same file by file. Both
// behave as the system's profile functions do as far as the program can see,
// which the tests check against those functions under Wine.
#pragma once

#include <string>
#include <string_view>

// The profile functions read through a buffer of this size: a value is seen
// as at most kValueBufferSize - 1 bytes of a GBK file (units of a UTF-16 one).
inline constexpr size_t kValueBufferSize = 1024;
inline constexpr size_t kMaxValueLength = kValueBufferSize - 1;

class ProfileStore {
 public:
  virtual ~ProfileStore() = default;

  // The value of `key` in `section` of the file at `path`, blanks around it
  // removed, one pair of enclosing quotes removed, cut as ReadableCut cuts;
  // `defaultValue` when the file, the section or the key is missing.
  virtual std::string Read(const std::string& path, std::string_view section,
                           std::string_view key, std::string_view defaultValue) = 0;

  // Sets `key` in `section` to `value`: replaces the value in place, or adds
  // the key at the end of its section, or adds the section at the end of the
  // file, or creates the file. Failures are not reported.
  virtual void Write(const std::string& path, std::string_view section, std::string_view key,
                     std::string_view value) = 0;

  // What a reader of the file at `path` would see of `value`: its first 1023
  // bytes in a GBK file, 1023 UTF-16 units in any other (or in a GBK file
  // that `value` would turn into UTF-16), never half a character.
  virtual std::string ReadableCut(const std::string& path, std::string_view value) = 0;
};
