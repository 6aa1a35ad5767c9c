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
  std::string value = m_store->Read(m_path, section, key, defaultValue);
  if (value.size() > kMaxValueLength) value.resize(kMaxValueLength);
  return value;
}

int SettingsFile::ReadInt(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const {
  return ParseInt(ReadString(section, key, defaultValue));
}

void SettingsFile::WriteString(std::string_view section, std::string_view key,
                               std::string_view value) const {
  m_store->Write(m_path, section, key, ValueToWrite(value));
}

void SettingsFile::WriteInt(std::string_view section, std::string_view key, int value) const {
  WriteString(section, key, FormatInt(value));
}

std::string SettingsFile::ValueToWrite(std::string_view value) {
  // A reader sees at most 1023 bytes, so no more are stored: a huge value (a
  // dropped megabyte in the history) would otherwise be lost whole by profile
  // functions that cannot write it (Wine's writes an empty value).
  std::string text(CutTo(value, kMaxValueLength));
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
