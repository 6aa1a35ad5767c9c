// What the program does with its settings file, timed natively: one snapshot
// read with everything the bar takes at start (the menus, the options, the
// history), and one whole-file save at exit (the history with a new query and
// the options, written beside the file and renamed over it). Each for a full
// file (ten engines, keywords and sites, a hundred history entries of about
// 1000 bytes) and for the same file grown to 10 MB by lines the program does
// not know, which a save keeps.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "IconvGbk.h"
#include "bar/BarSettings.h"
#include "base/Text.h"
#include "settings/FileEncoding.h"
#include "settings/Keys.h"
#include "settings/SettingsSnapshot.h"

namespace fs = std::filesystem;

namespace {

const IconvGbk kGbk;

std::string FullFileText() {
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
  for (int n = 0; n < 10; ++n) entry(IndexedKey(keys::kKeyword, n), "关键词" + std::to_string(n));
  section(keys::kSite);
  entry(keys::kNumber, "10");
  for (int n = 0; n < 10; ++n) entry(IndexedKey(keys::kSiteEntry, n), "site" + std::to_string(n) + ".example.com");
  section(keys::kHistory);
  for (int n = 0; n < 100; ++n) {
    // About 1000 bytes of GBK: Chinese in every other entry.
    std::string query = std::to_string(n);
    for (int i = 0; i < 490; ++i) query += n % 2 ? "搜" : "qq";
    entry(IndexedKey(keys::kHistoryEntry, n), query);
  }
  section(keys::kSetting);
  entry(keys::kUseIE, "0");
  entry(keys::kDoubleClickRight, "1");
  entry(keys::kUseImg, "1");
  entry(keys::kImgNumber, "7");
  return text;
}

// The file as the program finds it on disk (GBK), in a folder of its own.
class SettingsOnDisk {
 public:
  explicit SettingsOnDisk(size_t growTo) {
    m_dir = fs::temp_directory_path() / ("quarrow-bench-" + std::to_string(std::random_device{}()));
    fs::create_directories(m_dir);
    std::string text = FullFileText();
    text += "[Notes]\r\n";
    for (int n = 0; text.size() < growTo; ++n) text += "note" + std::to_string(n) + "=" + std::string(200, 'n') + "\r\n";
    std::string bytes;
    TextToGbk(text, kGbk, bytes);
    std::ofstream(Path(), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  ~SettingsOnDisk() {
    std::error_code ec;
    fs::remove_all(m_dir, ec);
  }
  std::string Path() const { return (m_dir / "Quarrow.ini").string(); }

 private:
  fs::path m_dir;
};

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

size_t SizeOf(const benchmark::State& state) { return state.range(0) ? 10u << 20 : 0; }

// A start: the file read once, everything the bar takes from one snapshot.
void BM_ReadSnapshot(benchmark::State& state) {
  SettingsOnDisk file(SizeOf(state));
  for (auto _ : state) {
    SettingsSnapshot snapshot(file.Path(), ReadBytes(file.Path()), kGbk);
    BarSettings settings = ReadBarSettings(snapshot.File());
    benchmark::DoNotOptimize(settings.history.Count());
  }
}
BENCHMARK(BM_ReadSnapshot)->ArgName("10MB")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// An exit: the file read, every key written in memory, the new file written
// beside it and renamed over it, as the program saves.
void BM_SaveWholeFile(benchmark::State& state) {
  SettingsOnDisk file(SizeOf(state));
  QueryHistory history = ReadBarSettings(SettingsSnapshot(file.Path(), ReadBytes(file.Path()), kGbk).File()).history;
  BarOptions options;
  int round = 0;
  for (auto _ : state) {
    history.Record("查询 " + std::to_string(round++));
    std::optional<std::string> saved =
        SaveInMemory(file.Path(), ReadBytes(file.Path()), kGbk, [&](const SettingsFile& settings) {
          history.Save(settings);
          options.Save(settings);
        });
    const std::string copy = file.Path() + ".tmp";
    std::ofstream(copy, std::ios::binary).write(saved->data(), static_cast<std::streamsize>(saved->size()));
    std::rename(copy.c_str(), file.Path().c_str());
  }
}
BENCHMARK(BM_SaveWholeFile)->ArgName("10MB")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
