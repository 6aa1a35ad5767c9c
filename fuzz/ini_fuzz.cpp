// libFuzzer target: any bytes as the settings file, then reads and writes on
// it through IniFile. Besides crashes and hangs it checks what must hold for
// any file: a value is never longer than a reader sees, a value just written
// reads back, a write leaves other values as they were, and the program's
// snapshot of the file reads what IniFile reads.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/Text.h"
#include "base/Unicode.h"
#include "settings/IniFile.h"
#include "settings/SettingsSnapshot.h"
#include "settings/Keys.h"
#include "settings/SettingsFile.h"
#include "IconvGbk.h"

namespace {

const IconvGbk kGbk;

const std::string& Folder() {
  static const std::string folder = [] {
    std::string f = std::filesystem::temp_directory_path().string() + "/quarrow-fuzz-" +
                    std::to_string(getpid());
    std::filesystem::create_directories(f);
    return f;
  }();
  return folder;
}

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "ini_fuzz: %s\n", what);
    std::abort();
  }
}

// A name or value the checks can reason about: printable ASCII without the
// characters that have a meaning in the file, nor blanks or quotes at its ends.
bool Plain(std::string_view text) {
  for (char c : text) {
    if (c < 0x21 || c > 0x7E || c == '[' || c == ']' || c == '=' || c == '"' || c == '\'') return false;
  }
  return true;
}

struct Probe {
  const char* section;
  const char* key;
};
constexpr Probe kProbes[] = {{"Engine", "E0"}, {"History", "H0"}, {"History", "H1"},
                             {"Setting", "UseIE"}, {"Key", "K9"}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  std::string section = input.ConsumeRandomLengthString(12);
  std::string key = input.ConsumeRandomLengthString(12);
  std::string value = input.ConsumeRandomLengthString(40);
  bool throughSettings = input.ConsumeBool();
  std::string bytes = input.ConsumeRemainingBytesAsString();

  const std::string& folder = Folder();
  const std::string path = folder + "/" + std::string(SettingsFile::kFileName);
  {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return 0;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }

  IniFile ini(kGbk);
  SettingsFile settings(folder, ini, '/');
  std::string before[std::size(kProbes)];
  for (size_t i = 0; i < std::size(kProbes); ++i) {
    before[i] = ini.Read(path, kProbes[i].section, kProbes[i].key, "?");
    Check(Utf8ToUtf16(before[i]).size() <= kMaxValueLength, "a value longer than a reader sees");
  }
  ini.Read(path, section, key, value);

  if (throughSettings) {
    settings.WriteString(section, key, value);
  } else {
    ini.Write(path, section, key, value);
  }

  // The checks hold for plain names and values in a file of any encoding;
  // odd names can meet odd lines.
  bool plain = !section.empty() && !key.empty() && Plain(section) && Plain(key) && Plain(value);
  if (plain) {
    Check(ini.Read(path, section, key, "?") == value, "the written value did not read back");
    for (size_t i = 0; i < std::size(kProbes); ++i) {
      if (EqualsIgnoreCase(section, kProbes[i].section) && EqualsIgnoreCase(key, kProbes[i].key)) continue;
      Check(ini.Read(path, kProbes[i].section, kProbes[i].key, "?") == before[i],
            "a write changed another value");
    }
  }
  std::FILE* file = std::fopen(path.c_str(), "rb");
  std::string now;
  if (file) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) now.append(buffer, n);
    std::fclose(file);
  }
  SettingsSnapshot snapshot(path, now, kGbk);
  for (const Probe& probe : kProbes) {
    Check(snapshot.File().ReadString(probe.section, probe.key, "?") == ini.Read(path, probe.section, probe.key, "?"),
          "the snapshot and IniFile disagree");
  }
  return 0;
}
