// A Quarrow.ini in a fresh temporary directory, for tests of the lists, the
// history and the menus on real files.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "IconvGbk.h"
#include "settings/IniFile.h"
#include "settings/SettingsFile.h"

namespace {

class ScratchSettings {
 public:
  ScratchSettings() : m_dir(MakeDirectory()), m_file(m_dir.string(), m_store) {}
  ~ScratchSettings() {
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
  }
  ScratchSettings(const ScratchSettings&) = delete;
  ScratchSettings& operator=(const ScratchSettings&) = delete;

  const SettingsFile& File() const { return m_file; }
  ProfileStore& Store() { return m_store; }
  std::string Directory() const { return m_dir.string(); }

  void Write(std::string_view section, std::string_view key, std::string_view value) const {
    m_file.WriteString(section, key, value);
  }
  // The value, or "<missing>" when the key is not in the file.
  std::string Read(std::string_view section, std::string_view key) const {
    return m_file.ReadString(section, key, "<missing>");
  }
  // The bytes of the file.
  std::string Contents() const {
    std::ifstream in(m_file.Path(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Replaces the whole file with `text`.
  void WriteRaw(std::string_view text) const {
    std::ofstream(m_file.Path(), std::ios::binary) << text;
  }

 private:
  static std::filesystem::path MakeDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quarrow-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary directory");
    return pattern;
  }

  std::filesystem::path m_dir;
  IconvGbk m_gbk;
  IniFile m_store{m_gbk};
  SettingsFile m_file;
};

}  // namespace
