// The settings the bar reads at start, through SettingsFile and IniFile, from
// a full file: ten engines, keywords and sites, the four options and a
// hundred history entries of 1023 bytes each. Also the same start through the
// bar's own reading functions, and the save at exit.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "bar/BarSettings.h"
#include "bar/MenuContents.h"
#include "base/Text.h"
#include "search/QueryHistory.h"
#include "settings/IniFile.h"
#include "settings/Keys.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsSnapshot.h"
#include "IconvGbk.h"

namespace fs = std::filesystem;

namespace {

const IconvGbk kGbk;

class FullFile {
 public:
  FullFile() {
    m_dir = fs::temp_directory_path() / ("quarrow-bench-" + std::to_string(std::random_device{}()));
    fs::create_directories(m_dir);
    std::string text;
    auto section = [&](std::string_view name) { text.append("[").append(name).append("]\r\n"); };
    auto entry = [&](std::string_view key, std::string_view value) {
      text.append(key).append("=").append(value).append("\r\n");
    };
    section(keys::kEngine);
    entry(keys::kNumber, "10");
    for (int n = 0; n < 10; ++n) {
      entry(IndexedKey(keys::kEngineName, n), "引擎" + std::to_string(n));
      entry(IndexedKey(keys::kEngineCode, n), "http://www.example.com/s?n=" + std::to_string(n) + "&wd=");
    }
    section(keys::kKey);
    entry(keys::kNumber, "10");
    for (int n = 0; n < 10; ++n) entry(IndexedKey(keys::kKeyword, n), "keyword" + std::to_string(n));
    section(keys::kSite);
    entry(keys::kNumber, "10");
    for (int n = 0; n < 10; ++n) entry(IndexedKey(keys::kSiteEntry, n), "site" + std::to_string(n) + ".example.com");
    section(keys::kHistory);
    for (int n = 0; n < 100; ++n) {
      std::string query(1023, 'a' + n % 26);
      entry(IndexedKey(keys::kHistoryEntry, n), query);
    }
    section(keys::kSetting);
    entry(keys::kUseIE, "0");
    entry(keys::kDoubleClickRight, "1");
    entry(keys::kUseImg, "1");
    entry(keys::kImgNumber, "7");
    std::ofstream(Path(), std::ios::binary).write(text.data(), text.size());
  }
  ~FullFile() {
    std::error_code ec;
    fs::remove_all(m_dir, ec);
  }
  std::string Dir() const { return m_dir.string(); }
  std::string Path() const { return (m_dir / SettingsFile::kFileName).string(); }
  // As at a start of the program: the file was last written at the last exit.
  void MakeOld() const {
    fs::last_write_time(Path(), fs::file_time_type::clock::now() - std::chrono::hours(1));
  }

 private:
  fs::path m_dir;
};

// The reads of the bar's start, in its order; returns the bytes read so that
// nothing is optimised away.
size_t StartupReads(const SettingsFile& file) {
  size_t bytes = 0;
  for (int n = 0; n < 10; ++n) {
    bytes += file.ReadString(keys::kEngine, IndexedKey(keys::kEngineName, n), "百度一下").size();
    bytes += file.ReadString(keys::kEngine, IndexedKey(keys::kEngineCode, n), "http://www.baidu.com/s?wd=").size();
  }
  for (int n = 0; n < 10; ++n) bytes += file.ReadString(keys::kSite, IndexedKey(keys::kSiteEntry, n), "csdn.net").size();
  for (int n = 0; n < 10; ++n) bytes += file.ReadString(keys::kKey, IndexedKey(keys::kKeyword, n), "MFC").size();
  bytes += file.ReadInt(keys::kSetting, keys::kDoubleClickRight, "1");
  bytes += file.ReadInt(keys::kSetting, keys::kUseIE, "0");
  bytes += file.ReadInt(keys::kSetting, keys::kUseImg, "1");
  bytes += file.ReadInt(keys::kSetting, keys::kImgNumber, "1");
  for (int n = 0; n < 100; ++n) bytes += file.ReadString(keys::kHistory, IndexedKey(keys::kHistoryEntry, n), "").size();
  return bytes;
}

// A start of the program: a new reader, so the file is read and parsed once.
void BM_StartupReads(benchmark::State& state) {
  FullFile full;
  full.MakeOld();
  for (auto _ : state) {
    IniFile ini(kGbk);
    SettingsFile file(full.Dir(), ini);
    benchmark::DoNotOptimize(StartupReads(file));
  }
}
BENCHMARK(BM_StartupReads)->Unit(benchmark::kMicrosecond);

// The same reads by a reader that has the file already (no parse at all).
void BM_StartupReadsWarm(benchmark::State& state) {
  FullFile full;
  full.MakeOld();
  IniFile ini(kGbk);
  SettingsFile file(full.Dir(), ini);
  StartupReads(file);
  for (auto _ : state) benchmark::DoNotOptimize(StartupReads(file));
}
BENCHMARK(BM_StartupReadsWarm)->Unit(benchmark::kMicrosecond);

// A file written within the last two seconds: its time stamp is not trusted
// yet, so every read reads the file again and compares it with the copy.
void BM_StartupReadsJustWritten(benchmark::State& state) {
  FullFile full;
  for (auto _ : state) {
    state.PauseTiming();
    fs::last_write_time(full.Path(), fs::file_time_type::clock::now());
    state.ResumeTiming();
    IniFile ini(kGbk);
    SettingsFile file(full.Dir(), ini);
    benchmark::DoNotOptimize(StartupReads(file));
  }
}
BENCHMARK(BM_StartupReadsJustWritten)->Unit(benchmark::kMicrosecond);

// The same start through the bar's own functions: its menus and options,
// then its history.
void BM_StartupThroughTheBar(benchmark::State& state) {
  FullFile full;
  full.MakeOld();
  for (auto _ : state) {
    IniFile ini(kGbk);
    SettingsFile file(full.Dir(), ini);
    SelectionMenus menus = ReadSelectionMenus(file);
    QueryHistory history;
    history.Load(file);
    benchmark::DoNotOptimize(menus);
    benchmark::DoNotOptimize(history.Count());
  }
}
BENCHMARK(BM_StartupThroughTheBar)->Unit(benchmark::kMicrosecond);

// The save at exit: H0..H99 (every one changed) and three options, one file
// replacement per changed key.
void BM_ExitSave(benchmark::State& state) {
  FullFile full;
  IniFile ini(kGbk);
  SettingsFile file(full.Dir(), ini);
  QueryHistory history;
  history.Load(file);
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    history.Record("query " + std::to_string(round++));
    state.ResumeTiming();
    history.Save(file);
    file.WriteString(keys::kSetting, keys::kUseIE, "0");
    file.WriteString(keys::kSetting, keys::kDoubleClickRight, "1");
    file.WriteString(keys::kSetting, keys::kUseImg, "1");
  }
}
BENCHMARK(BM_ExitSave)->Unit(benchmark::kMillisecond);

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The start as the program makes it: the file read once into a snapshot, and
// everything the bar needs taken from it.
void BM_StartupFromOneSnapshot(benchmark::State& state) {
  FullFile full;
  for (auto _ : state) {
    SettingsSnapshot snapshot(full.Path(), FileBytes(full.Path()), kGbk);
    BarSettings settings = ReadBarSettings(snapshot.File());
    benchmark::DoNotOptimize(settings.history.Count());
  }
}
BENCHMARK(BM_StartupFromOneSnapshot)->Unit(benchmark::kMicrosecond);

// The save at exit as the program makes it: all keys written in memory, the
// new content made once (writing it is the window layer's).
void BM_ExitSaveInMemory(benchmark::State& state) {
  FullFile full;
  const std::string bytes = FileBytes(full.Path());
  QueryHistory history;
  int round = 0;
  for (auto _ : state) {
    history.Record("query " + std::to_string(round++));
    auto saved = SaveInMemory(full.Path(), bytes, kGbk, [&](const SettingsFile& file) {
      history.Save(file);
      file.WriteString(keys::kSetting, keys::kUseIE, "0");
      file.WriteString(keys::kSetting, keys::kDoubleClickRight, "1");
      file.WriteString(keys::kSetting, keys::kUseImg, "1");
    });
    benchmark::DoNotOptimize(saved);
  }
}
BENCHMARK(BM_ExitSaveInMemory)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
