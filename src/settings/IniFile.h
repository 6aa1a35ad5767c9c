// The settings file read and written by our own code: the portable twin of the
// Windows profile functions, used where they do not exist (the core's tests on
// Linux, the fuzz target, the benchmark) and checked against them under Wine.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "settings/ProfileStore.h"

class IniFile : public ProfileStore {
 public:
  IniFile() = default;
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  std::string Read(const std::string& path, std::string_view section, std::string_view key,
                   std::string_view defaultValue) override;
  void Write(const std::string& path, std::string_view section, std::string_view key,
             std::string_view value) override;

 private:
  // How the file's bytes are read: as 8-bit text, or as UTF-16 after a
  // byte-order mark (a file saved as "Unicode" by an editor).
  enum class Encoding { kBytes, kUtf16Le, kUtf16Be };

  // One line: [begin, end) is its content, `next` is where the following line
  // starts (after CR LF, LF or a lone CR).
  struct Line {
    size_t begin = 0, end = 0, next = 0;
  };
  // A line of a section that is not a header: "name=value", or a line
  // without '=' (a comment, say), which is no key to the profile functions.
  struct Entry {
    std::string_view name;   // blanks around it removed
    std::string_view value;  // blanks around it removed
    size_t line = 0;
    bool isKey = false;
  };
  struct Section {
    std::string_view name;
    size_t lastContent = 0;  // last line of the section that is not blank
    size_t firstEntry = 0, endEntry = 0;
  };

  // A file split into lines, sections and entries. The views point into the
  // file's 8-bit text: the raw bytes, or for UTF-16 `text`, which has one byte
  // per code unit.
  struct Parsed {
    Encoding encoding = Encoding::kBytes;
    std::string text;
    std::vector<Line> lines;
    std::vector<Entry> entries;
    std::vector<Section> sections;  // entries before the first header are in none

    void Parse(const std::string& bytes);
    const Section* FindSection(std::string_view name) const;
    // Reading sees only lines with '='; writing also takes a line without one
    // as the key of its name and gives it the value (as Wine does).
    const Entry* FindEntry(const Section& section, std::string_view name, bool forWriting) const;
  };

  using Clock = std::filesystem::file_time_type::clock;

  // The last content seen of one file, with what the file looked like then.
  struct Cached {
    bool exists = false;
    bool readable = true;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};
    Clock::time_point checkedAt{};  // when the content was last read
    std::string bytes;
    Parsed parsed;
  };

  // The current content of `path`: the cached copy while the file is unchanged.
  Cached& Load(const std::string& path);

  std::unordered_map<std::string, Cached> m_files;
};
