// The settings file read and written by our own code: the portable twin of the
// Windows profile functions, used where they do not exist (the core's tests on
// Linux, the fuzz target, the benchmark) and checked against them under Wine.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "settings/FileEncoding.h"
#include "settings/IniDocument.h"
#include "settings/ProfileStore.h"

class IniFile : public ProfileStore {
 public:
  // GBK files are read and written through `gbk`, which must outlive this.
  explicit IniFile(const GbkCodec& gbk);
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  std::string Read(const std::string& path, std::string_view section, std::string_view key,
                   std::string_view defaultValue) override;
  void Write(const std::string& path, std::string_view section, std::string_view key,
             std::string_view value) override;
  std::string ReadableCut(const std::string& path, std::string_view value) override;

 private:
  using Clock = std::filesystem::file_time_type::clock;

  // The last content seen of one file, with what the file looked like then.
  struct Cached {
    bool exists = false;
    bool readable = true;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};
    Clock::time_point checkedAt{};  // when the content was last read
    std::string bytes;
    std::unique_ptr<IniDocument> document;
  };

  // The current content of `path`: the cached copy while the file is unchanged.
  Cached& Load(const std::string& path);

  const GbkCodec* m_gbk;
  std::unordered_map<std::string, Cached> m_files;
};
