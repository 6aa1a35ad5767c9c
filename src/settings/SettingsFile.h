// Where Quarrow.ini is, and the reads and writes of its values.
#pragma once

#include <string>
#include <string_view>

#include "settings/ProfileStore.h"

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

class SettingsFile {
 public:
  static constexpr std::string_view kFileName = "Quarrow.ini";

  // The settings file in `directory`. The separator is always appended, even
  // after a drive root such as "C:\", whose doubled separator the system accepts.
  SettingsFile(std::string_view directory, ProfileStore& store, char separator = kPathSeparator);
  // The settings file at `path` exactly.
  static SettingsFile AtPath(std::string path, ProfileStore& store);
  virtual ~SettingsFile() = default;

  const std::string& Path() const { return m_path; }

  // What a reader sees (ProfileStore::Read); `defaultValue` when the key is missing.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // The value read as text, converted with the atoi rule.
  int ReadInt(std::string_view section, std::string_view key, std::string_view defaultValue) const;

  // Writes `value` so that it reads back as it was meant (see ValueToWrite).
  void WriteString(std::string_view section, std::string_view key, std::string_view value) const;
  void WriteInt(std::string_view section, std::string_view key, int value) const;

  // What is actually stored for `value`, already cut to what a reader sees
  // (ProfileStore::ReadableCut): every CR and LF becomes a blank, so a value
  // can never split its line or bring in a section or key of its own; a value
  // that begins and ends with a quote gets one more pair of double quotes,
  // because reading removes one pair.
  static std::string ValueToWrite(std::string_view value);

 private:
  std::string m_path;
  ProfileStore* m_store;
};
