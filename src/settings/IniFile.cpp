#include "settings/IniFile.h"

#include <cstdio>
#include <random>

#include "base/Text.h"

namespace fs = std::filesystem;

namespace {

bool ReadWholeFile(const std::string& path, std::uintmax_t sizeHint, std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  bytes.clear();
  bytes.reserve(static_cast<size_t>(sizeHint));
  char buffer[1 << 16];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
  bool ok = !std::ferror(file);
  std::fclose(file);
  return ok;
}

// Writes `bytes` to a new file beside `path` and renames it over `path`, so
// that a crash leaves either the old file or the new one, never half of one.
bool ReplaceFile(const fs::path& path, const std::string& bytes, bool keepPermissions) {
  static std::mt19937_64 random{std::random_device{}()};
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".%08llx.tmp",
                static_cast<unsigned long long>(random() & 0xFFFFFFFFull));
  fs::path temp = path;
  temp += suffix;
  std::FILE* file = std::fopen(temp.string().c_str(), "wb");
  if (!file) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  ok = std::fflush(file) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  std::error_code ec;
  if (ok && keepPermissions) fs::permissions(temp, fs::status(path, ec).permissions(), ec);
  if (ok) {
    fs::rename(temp, path, ec);
    ok = !ec;
  }
  if (!ok) fs::remove(temp, ec);
  return ok;
}

}  // namespace

IniFile::IniFile(const GbkCodec& gbk) : m_gbk(&gbk) {}

IniFile::Loaded IniFile::Load(const std::string& path) const {
  Loaded loaded;
  std::error_code missing, noSize;
  loaded.exists = fs::exists(fs::status(path, missing)) && !missing;
  if (loaded.exists) {
    std::uintmax_t size = fs::file_size(path, noSize);  // fails for a folder and the like
    loaded.readable = !noSize && ReadWholeFile(path, size, loaded.bytes);
  }
  if (!loaded.readable) loaded.bytes.clear();
  loaded.document = std::make_unique<IniDocument>(loaded.bytes, *m_gbk);
  return loaded;
}

std::string IniFile::Read(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view defaultValue) {
  return Load(path).document->Read(section, key, defaultValue);
}

void IniFile::Write(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view value) {
  Loaded loaded = Load(path);
  if (loaded.exists && !loaded.readable) return;  // what is in it cannot be kept
  std::error_code ec;
  fs::path target = path;
  if (loaded.exists) {
    if (fs::is_symlink(fs::symlink_status(target, ec))) target = fs::canonical(target, ec);
    if (ec) return;
    // A read-only file is left alone, as the profile function leaves it.
    if ((fs::status(target, ec).permissions() & fs::perms::owner_write) == fs::perms::none) return;
  }
  if (!loaded.document->Write(section, key, value) && loaded.exists) return;  // nothing changes
  ReplaceFile(target, loaded.document->Bytes(), loaded.exists);
}

std::string IniFile::ReadableCut(const std::string& path, std::string_view value) {
  return Load(path).document->ReadableCut(value);
}
