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

constexpr std::string_view kLineEnd = "\r\n";

// Blanks around names and values: the C library's white space and Ctrl-Z,
// the old end-of-file mark, as the profile functions take them.
bool IsIniBlank(char c) { return IsBlank(c) || c == '\x1A'; }

std::string_view TrimIni(std::string_view text) {
  return TrimRightIf(TrimLeftIf(text, IsIniBlank), IsIniBlank);
}

// The profile functions take C strings: whatever follows a NUL is not seen.
std::string_view AsCString(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

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

// A UTF-16 file is seen one code unit per byte: ASCII as itself, anything
// else as '?'. Offsets in this text map to the file as byte-order mark + 2 * offset.
std::string NarrowUtf16(std::string_view units, bool bigEndian) {
  std::string text(units.size() / 2, '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char lo = static_cast<unsigned char>(units[2 * i + (bigEndian ? 1 : 0)]);
    unsigned char hi = static_cast<unsigned char>(units[2 * i + (bigEndian ? 0 : 1)]);
    text[i] = (hi == 0 && lo < 0x80) ? static_cast<char>(lo) : '?';
  }
  return text;
}

// The opposite for text written into a UTF-16 file: a double-byte character
// becomes one '?', as the text could not be converted without a code table.
std::string WidenToUtf16(std::string_view text, bool bigEndian) {
  std::string units;
  units.reserve(text.size() * 2);
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    char unit = static_cast<char>(c);
    if (c >= 0x80) {
      unit = '?';
      if (IsLeadByte(c) && i + 1 < text.size()) ++i;
    }
    if (bigEndian) units.push_back('\0');
    units.push_back(unit);
    if (!bigEndian) units.push_back('\0');
  }
  return units;
}

// One pair of enclosing quotes, double or single, is removed on reading.
std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

void IniFile::Parsed::Parse(const std::string& bytes) {
  encoding = Encoding::kBytes;
  text.clear();
  lines.clear();
  entries.clear();
  sections.clear();

  std::string_view view = bytes;
  auto starts = [&](std::string_view mark) { return view.substr(0, mark.size()) == mark; };
  if (starts("\xFF\xFE")) {
    encoding = Encoding::kUtf16Le;
    text = NarrowUtf16(view.substr(2), false);
    view = text;
  } else if (starts("\xFE\xFF")) {
    encoding = Encoding::kUtf16Be;
    text = NarrowUtf16(view.substr(2), true);
    view = text;
  }

  Section* current = nullptr;
  for (size_t pos = 0; pos < view.size();) {
    Line line;
    line.begin = pos;
    while (pos < view.size() && view[pos] != '\r' && view[pos] != '\n') ++pos;
    line.end = pos;
    if (pos < view.size()) pos += (view[pos] == '\r' && pos + 1 < view.size() && view[pos + 1] == '\n') ? 2 : 1;
    line.next = pos;
    size_t index = lines.size();
    lines.push_back(line);

    std::string_view content = TrimIni(view.substr(line.begin, line.end - line.begin));
    if (content.empty()) continue;
    if (content.front() == '[') {
      size_t close = content.rfind(']');
      if (close != std::string_view::npos && close > 0) {
        sections.push_back({TrimIni(content.substr(1, close - 1)), index, entries.size(), entries.size()});
        current = &sections.back();
        continue;
      }
    }
    Entry entry;
    entry.line = index;
    size_t equals = content.find('=');
    if (equals == std::string_view::npos) {
      entry.name = content;
    } else {
      entry.name = TrimRightIf(content.substr(0, equals), IsIniBlank);
      entry.value = TrimLeftIf(content.substr(equals + 1), IsIniBlank);
      entry.isKey = true;
    }
    entries.push_back(entry);
    if (current) {
      current->lastContent = index;
      current->endEntry = entries.size();
    }
  }
}

const IniFile::Section* IniFile::Parsed::FindSection(std::string_view name) const {
  for (const Section& section : sections) {
    if (EqualsIgnoreCase(AsCString(section.name), name)) return &section;
  }
  return nullptr;
}

const IniFile::Entry* IniFile::Parsed::FindEntry(const Section& section, std::string_view name,
                                                 bool forWriting) const {
  for (size_t i = section.firstEntry; i < section.endEntry; ++i) {
    if ((entries[i].isKey || forWriting) && EqualsIgnoreCase(AsCString(entries[i].name), name)) return &entries[i];
  }
  return nullptr;
}

IniFile::Cached& IniFile::Load(const std::string& path) {
  if (m_files.size() >= kMaxCachedFiles && m_files.find(path) == m_files.end()) m_files.clear();
  Cached& cached = m_files[path];

  // Two look-ups of the file per read: its time stamp (which fails when there
  // is nothing at `path`) and its size (which fails for a folder and the like).
  std::error_code noTime, noSize;
  fs::file_time_type modified = fs::last_write_time(path, noTime);
  if (noTime) {
    if (cached.exists || !cached.bytes.empty()) {
      cached = Cached{};
      cached.parsed.Parse(cached.bytes);
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
  if (!same) {
    cached.bytes = std::move(bytes);
    cached.parsed.Parse(cached.bytes);
  }
  return cached;
}

std::string IniFile::Read(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view defaultValue) {
  // The default loses its trailing blanks, as the profile function documents.
  std::string_view fallback = AsCString(defaultValue);
  while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
  fallback = CutTo(fallback, kMaxValueLength);

  const Cached& cached = Load(path);
  const Section* found = cached.parsed.FindSection(AsCString(section));
  if (!found) return std::string(fallback);
  const Entry* entry = cached.parsed.FindEntry(*found, AsCString(key), false);
  if (!entry) return std::string(fallback);
  return std::string(CutTo(Unquote(AsCString(entry->value)), kMaxValueLength));
}

void IniFile::Write(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view value) {
  section = AsCString(section);
  key = AsCString(key);
  value = AsCString(value);

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

  const Parsed& parsed = cached.parsed;
  std::string_view text = parsed.encoding == Encoding::kBytes ? std::string_view(cached.bytes)
                                                              : std::string_view(parsed.text);
  // The edit as: replace text[from, to) by `insert`.
  size_t from = text.size(), to = text.size();
  std::string insert;
  const Section* found = parsed.FindSection(section);
  const Entry* entry = found ? parsed.FindEntry(*found, key, true) : nullptr;
  if (entry) {
    // The line becomes "name=value", the name spelt as the file has it.
    const Line& line = parsed.lines[entry->line];
    from = line.begin;
    to = line.end;
    insert.append(entry->name).append("=").append(value);
  } else if (found) {
    // After the section's last line that is not blank.
    const Line& line = parsed.lines[found->lastContent];
    from = to = line.next;
    if (line.next == line.end) insert.append(kLineEnd);
    insert.append(key).append("=").append(value).append(kLineEnd);
  } else {
    if (!text.empty() && text.back() != '\n' && text.back() != '\r') insert.append(kLineEnd);
    insert.append("[").append(section).append("]").append(kLineEnd);
    insert.append(key).append("=").append(value).append(kLineEnd);
  }

  std::string bytes;
  if (parsed.encoding == Encoding::kBytes) {
    bytes.reserve(cached.bytes.size() + insert.size());
    bytes.append(cached.bytes, 0, from).append(insert).append(cached.bytes, to);
  } else {
    bool bigEndian = parsed.encoding == Encoding::kUtf16Be;
    bytes.append(cached.bytes, 0, 2 + 2 * from)
        .append(WidenToUtf16(insert, bigEndian))
        .append(cached.bytes, 2 + 2 * to);
  }
  if (cached.exists && bytes == cached.bytes) return;  // nothing changes

  if (!ReplaceFile(target, bytes, cached.exists)) return;
  cached.exists = true;
  cached.readable = true;
  cached.size = bytes.size();
  cached.modified = fs::last_write_time(target, ec);
  cached.checkedAt = before;
  cached.bytes = std::move(bytes);
  cached.parsed.Parse(cached.bytes);
}
