#include "settings/EngineCatalogue.h"

#include <utility>

#include "base/Text.h"
#include "base/Texts.h"
#include "base/Unicode.h"
#include "settings/CountedList.h"
#include "settings/Keys.h"

const std::array<DefaultEngine, 10> kDefaultEngines = {{
    {kDefaultEngineName, kDefaultSearchCode},
    {"Google谷歌", "http://www.google.com/search?q="},
    {"迅雷狗狗", "http://www.gougou.com/search?search="},
    {"Google图片", "http://images.google.com/images?hl=zh-CN&q="},
    {"电驴资源", "http://www.verycd.com/search/folders/"},
    {"百度Mp3", "http://mp3.baidu.com/m?ct=134217728&word="},
    {"Google地图", "http://maps.google.com/?client=aff-cs-worldbrowser&q="},
    {"优酷视频", "http://so.youku.com/search_video/q_"},
    {"搜狗Sogou", "http://www.sogou.com/sogou?query="},
    {"爱词霸", "http://www.iciba.com/search?s="},
}};

EngineEntry ReadEngineEntry(const SettingsFile& file, int index) {
  EngineEntry entry;
  entry.name = file.ReadString(keys::kEngine, IndexedKey(keys::kEngineName, index), kDefaultEngineName);
  entry.searchCode =
      file.ReadString(keys::kEngine, IndexedKey(keys::kEngineCode, index), kDefaultSearchCode);
  return entry;
}

void EngineCatalogue::LoadForEditing(const SettingsFile& file) {
  m_entries = LoadCountedList(file, keys::kEngine,
                              [&file](int index) { return ReadEngineEntry(file, index); });
}

void EngineCatalogue::Save(const SettingsFile& file) const {
  // The settings file stores at most 1023 bytes of each text, what any later
  // reader sees.
  SaveCountedList(file, keys::kEngine, m_entries, [&file](int index, const EngineEntry& entry) {
    file.WriteString(keys::kEngine, IndexedKey(keys::kEngineName, index), entry.name);
    file.WriteString(keys::kEngine, IndexedKey(keys::kEngineCode, index), entry.searchCode);
  });
}

void EngineCatalogue::RestoreDefaults() {
  std::vector<EngineEntry> defaults;
  defaults.reserve(kDefaultEngines.size());
  for (const DefaultEngine& engine : kDefaultEngines) {
    defaults.push_back({std::string(engine.name), std::string(engine.searchCode)});
  }
  m_entries.insert(m_entries.begin(), defaults.begin(), defaults.end());
}

AddResult EngineCatalogue::AddEntry(std::string_view name, std::string_view searchCode) {
  name = TrimLeft(name);
  searchCode = TrimLeft(searchCode);
  if (name.empty()) return AddResult::NameMissing;
  if (searchCode.empty()) return AddResult::CodeMissing;
  if (HasEntryNamed(m_entries, name, &EngineEntry::name)) return AddResult::Duplicate;
  m_entries.push_back({std::string(name), std::string(searchCode)});
  return AddResult::Added;
}

void EngineCatalogue::ReplaceEntry(size_t position, std::string_view name, std::string_view searchCode) {
  if (position >= m_entries.size()) return;
  m_entries[position] = {std::string(name), std::string(searchCode)};
}

void EngineCatalogue::RemoveEntry(size_t position) { EraseAt(m_entries, position); }

void EngineCatalogue::MoveUp(size_t position) {
  if (position > 0 && position < m_entries.size()) MoveTo(position, position - 1);
}

void EngineCatalogue::MoveDown(size_t position) {
  if (position + 1 < m_entries.size()) MoveTo(position, position + 1);
}

void EngineCatalogue::MoveTo(size_t from, size_t to) {
  std::swap(m_entries[from], m_entries[to]);
  EngineEntry& moved = m_entries[to];
  moved.name = std::string(CutToUtf16Units(moved.name, kMaxValueLength));
  moved.searchCode = std::string(CutToUtf16Units(moved.searchCode, kMaxValueLength));
}
