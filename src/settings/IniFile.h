// The settings file read and written key by key by our own code, each call
// reading the whole file afresh: the portable twin of the Windows profile
// functions, for the core's tests on Linux and the fuzz target, and checked
// against those functions under Wine. The program itself reads and saves the
// file whole (SettingsSnapshot).
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

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
  // The file as it is now, read afresh at every call: nothing is kept.
  struct Loaded {
    bool exists = false;
    bool readable = true;
    std::string bytes;
    std::unique_ptr<IniDocument> document;
  };
  Loaded Load(const std::string& path) const;

  const GbkCodec* m_gbk;
};
