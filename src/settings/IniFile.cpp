#include "settings/IniFile.h"

#include <cstdio>
#include <random>

#include "base/Text.h"

namespace fs = std::filesystem;

namespace {

// A file rewritten within this time of its last reading can keep its size and
// time stamp (file systems stamp with a coarse clock, FAT in steps of two
// seconds), so until then its content is read and compared on every use.
constexpr auto kRacyWindow = std::chrono::seconds(2);
constexpr size_t kMaxCachedFiles = 16;

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

IniFile::Cached& IniFile::Load(const std::string& path) {
  if (m_files.size() >= kMaxCachedFiles && m_files.find(path) == m_files.end()) m_files.clear();
  Cached& cached = m_files[path];

  // Two look-ups of the file per read: its time stamp (which fails when there
  // is nothing at `path`) and its size (which fails for a folder and the like).
  std::error_code noTime, noSize;
  fs::file_time_type modified = fs::last_write_time(path, noTime);
  if (noTime) {
    if (cached.exists || !cached.document) {
      cached = Cached{};
      cached.document = std::make_unique<IniDocument>(cached.bytes, *m_gbk);
    }
    return cached;
  }
  std::uintmax_t size = fs::file_size(path, noSize);
  if (noSize) size = 0;
  Clock::time_point now = Clock::now();
  if (cached.exists && cached.readable && size == cached.size && modified == cached.modified &&
      modified + kRacyWindow < cached.checkedAt) {
    return cached;
  }

  std::string bytes;
  bool readable = !noSize && ReadWholeFile(path, size, bytes);
  bool same = cached.exists && cached.readable == readable && bytes == cached.bytes;
  cached.exists = true;
  cached.readable = readable;
  cached.size = size;
  cached.modified = modified;
  cached.checkedAt = now;
  if (!same || !cached.document) {
    cached.bytes = std::move(bytes);
    cached.document = std::make_unique<IniDocument>(cached.bytes, *m_gbk);
  }
  return cached;
}

std::string IniFile::Read(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view defaultValue) {
  return Load(path).document->Read(section, key, defaultValue);
}

void IniFile::Write(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view value) {
  Clock::time_point before = Clock::now();
  Cached& cached = Load(path);
  if (cached.exists && !cached.readable) return;  // what is in it cannot be kept
  std::error_code ec;
  fs::path target = path;
  if (cached.exists) {
    if (fs::is_symlink(fs::symlink_status(target, ec))) target = fs::canonical(target, ec);
    if (ec) return;
    // A read-only file is left alone, as the profile function leaves it.
    if ((fs::status(target, ec).permissions() & fs::perms::owner_write) == fs::perms::none) return;
  }

  if (!cached.document->Write(section, key, value) && cached.exists) return;  // nothing changes
  std::string bytes = cached.document->Bytes();
  if (!ReplaceFile(target, bytes, cached.exists)) {
    m_files.erase(path);  // the file is as it was, the copy in memory is not
    return;
  }
  cached.exists = true;
  cached.readable = true;
  cached.size = bytes.size();
  cached.modified = fs::last_write_time(target, ec);
  cached.checkedAt = before;
  cached.bytes = std::move(bytes);
}

std::string IniFile::ReadableCut(const std::string& path, std::string_view value) {
  return Load(path).document->ReadableCut(value);
}
