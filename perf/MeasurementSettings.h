// The Quarrow.ini every measurement starts from: ten engines, ten keywords,
// ten sites, the four options and a hundred history entries, as the program
// writes it: GBK bytes, CR LF lines. The texts here are the program's UTF-8.
#pragma once

#include <cstdio>
#include <string>

#include "settings/FileEncoding.h"
#include "settings/Keys.h"
#include "settings/win/SystemGbk.h"

namespace perf {

inline constexpr int kListEntries = 10;
inline constexpr int kHistoryEntries = 100;

// The size of `text` in the file: its GBK bytes.
inline size_t GbkSize(const std::string& text) {
  std::string bytes;
  TextToGbk(text, SystemGbk(), bytes);
  return bytes.size();
}

// History entry n: fixed-width numbers, so that no entry begins with another
// (the history drops an older entry that begins with a new one). Given
// `bytes`, lengthened with letters to that many bytes in the file (a long query).
inline std::string HistoryEntryText(int n, size_t bytes = 0) {
  char text[64];
  snprintf(text, sizeof text, "历史查询 %03d 网页搜索示例", n);
  std::string entry = text;
  for (size_t size = GbkSize(entry); size < bytes; ++size) entry.push_back(static_cast<char>('a' + size % 26));
  return entry;
}

// The queries the measurements search for: none begins with another, and
// none begins with a history entry's text or the other way round.
inline std::string MeasuredQuery(int n) {
  char text[64];
  snprintf(text, sizeof text, "性能查询 %04d", n);
  return text;
}

// `historyBytes`: each history entry that long (0: as HistoryEntryText gives
// it); `picture`: the picture look (else the colour look); `suggest`:
// suggestions switched on, each engine with a suggestion address (nothing is
// asked before a key is typed).
inline std::string MeasurementSettings(size_t historyBytes = 0, bool picture = true, bool suggest = false) {
  std::string text;
  auto section = [&](std::string_view name) { text.append("[").append(name).append("]\r\n"); };
  auto entry = [&](std::string_view key, int index, const std::string& value) {
    text.append(key);
    if (index >= 0) text.append(std::to_string(index));
    text.append("=").append(value).append("\r\n");
  };
  section(keys::kEngine);
  entry(keys::kNumber, -1, std::to_string(kListEntries));
  for (int n = 0; n < kListEntries; ++n) {
    entry(keys::kEngineName, n, "引擎" + std::to_string(n));
    entry(keys::kEngineCode, n, "http://www.example.com/s?engine=" + std::to_string(n) + "&wd=");
    if (suggest) entry(keys::kEngineSuggest, n, "http://127.0.0.1:9/su?engine=" + std::to_string(n) + "&q={q}");
  }
  section(keys::kKey);
  entry(keys::kNumber, -1, std::to_string(kListEntries));
  for (int n = 0; n < kListEntries; ++n) entry(keys::kKeyword, n, "关键词" + std::to_string(n));
  section(keys::kSite);
  entry(keys::kNumber, -1, std::to_string(kListEntries));
  for (int n = 0; n < kListEntries; ++n) entry(keys::kSiteEntry, n, "site" + std::to_string(n) + ".example.com");
  section(keys::kHistory);
  for (int n = 0; n < kHistoryEntries; ++n) entry(keys::kHistoryEntry, n, HistoryEntryText(n, historyBytes));
  section(keys::kSetting);
  entry(keys::kUseIE, -1, "0");  // the default browser: the URL goes to the http handler
  entry(keys::kDoubleClickRight, -1, "1");
  entry(keys::kUseImg, -1, picture ? "1" : "0");  // by default a picture, the heavier of the two looks
  entry(keys::kImgNumber, -1, "7");
  if (suggest) entry(keys::kSuggest, -1, "1");
  std::string bytes;
  TextToGbk(text, SystemGbk(), bytes);
  return bytes;
}

// The same file without its UseIE line: the bar's save at exit writes the
// line back, so the saved file can be told from the one the bar started with.
inline std::string SettingsTheSaveChanges() {
  std::string text = MeasurementSettings();
  std::string line = std::string(keys::kUseIE) + "=0\r\n";
  text.erase(text.find(line), line.size());
  return text;
}

}  // namespace perf
