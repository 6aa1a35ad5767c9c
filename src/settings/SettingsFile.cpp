#include "settings/SettingsFile.h"

#include "base/Text.h"

SettingsFile::SettingsFile(std::string_view directory, ProfileStore& store, char separator)
    : m_store(&store) {
  m_path.reserve(directory.size() + 1 + kFileName.size());
  m_path.append(directory).push_back(separator);
  m_path.append(kFileName);
}

SettingsFile SettingsFile::AtPath(std::string path, ProfileStore& store) {
  SettingsFile file(std::string_view(), store);
  file.m_path = std::move(path);
  return file;
}

std::string SettingsFile::ReadString(std::string_view section, std::string_view key,
                                     std::string_view defaultValue) const {
  return m_store->Read(m_path, section, key, defaultValue);
}

int SettingsFile::ReadInt(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const {
  return ParseInt(ReadString(section, key, defaultValue));
}

void SettingsFile::WriteString(std::string_view section, std::string_view key,
                               std::string_view value) const {
  // A reader sees only so much, so no more is stored: a huge value (a dropped
  // megabyte in the history) would otherwise stay in the file for nothing.
  m_store->Write(m_path, section, key, ValueToWrite(m_store->ReadableCut(m_path, value)));
}

void SettingsFile::WriteInt(std::string_view section, std::string_view key, int value) const {
  WriteString(section, key, FormatInt(value));
}

std::string SettingsFile::ValueToWrite(std::string_view value) {
  std::string text(value);
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  // Reading strips the blanks around a value, then one pair of quotes (double
  // or single). The blanks are lost as they always were; the quotes are kept.
  std::string_view core = Trim(text);
  bool quoted = core.size() >= 2 && (core.front() == '"' || core.front() == '\'') &&
                core.back() == core.front();
  if (quoted) return '"' + std::string(core) + '"';
  return text;
}
