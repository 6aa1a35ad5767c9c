#include "settings/EngineCatalogue.h"

#include <utility>

#include "base/Text.h"
#include "base/Texts.h"
#include "base/Unicode.h"
#include "settings/CountedList.h"
#include "settings/Keys.h"

// Every code is https, so that no query crosses the network readable.
const std::array<DefaultEngine, 10> kDefaultEngines = {{
    {kDefaultEngineName, kDefaultSearchCode, "bd", "https://suggestion.baidu.com/su?wd={q}"},
    {"Google谷歌", "https://www.google.com/search?q=", "g",
     "https://suggestqueries.google.com/complete/search?client=firefox&q={q}"},
    {"必应Bing", "https://www.bing.com/search?q=", "bing", "https://api.bing.com/osjson.aspx?query={q}"},
    {"Google图片", "https://www.google.com/search?tbm=isch&q=", "gi", ""},
    {"百度图片", "https://image.baidu.com/search/index?tn=baiduimage&word=", "bdi", ""},
    {"哔哩哔哩", "https://search.bilibili.com/all?keyword=", "bili", ""},
    {"Google地图", "https://www.google.com/maps/search/", "gm", ""},
    {"优酷视频", "https://so.youku.com/search_video/q_", "yk", ""},
    {"搜狗Sogou", "https://www.sogou.com/web?query=", "sg", ""},
    {"爱词霸", "https://www.iciba.com/word?w=", "cb", ""},
}};

namespace {

// The ideographic space that a Chinese input method types in full-width mode.
constexpr std::string_view kIdeographicSpace = "\u3000";

// An engine's optional text: written empty only over one the file holds (a
// removed one must not come back), so that a catalogue without it leaves the
// file as an earlier version wrote it.
void WriteOptional(const SettingsFile& file, const std::string& key, const std::string& value) {
  if (value.empty() && file.ReadString(keys::kEngine, key, "").empty()) return;
  file.WriteString(keys::kEngine, key, value);
}

}  // namespace

EngineEntry ReadEngineEntry(const SettingsFile& file, int index) {
  EngineEntry entry;
  entry.name = file.ReadString(keys::kEngine, IndexedKey(keys::kEngineName, index), kDefaultEngineName);
  entry.searchCode =
      file.ReadString(keys::kEngine, IndexedKey(keys::kEngineCode, index), kDefaultSearchCode);
  entry.shortcut = file.ReadString(keys::kEngine, IndexedKey(keys::kEngineShortcut, index), "");
  entry.suggestUrl = file.ReadString(keys::kEngine, IndexedKey(keys::kEngineSuggest, index), "");
  return entry;
}

bool IsOneWord(std::string_view shortcut) {
  for (char c : shortcut) {
    if (IsBlank(c)) return false;
  }
  return shortcut.find(kIdeographicSpace) == std::string_view::npos;
}

size_t FindShortcut(const std::vector<EngineEntry>& engines, std::string_view word) {
  for (size_t i = 0; i < engines.size(); ++i) {
    if (!engines[i].shortcut.empty() && EqualsIgnoreCase(engines[i].shortcut, word)) return i;
  }
  return engines.size();
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
    WriteOptional(file, IndexedKey(keys::kEngineShortcut, index), entry.shortcut);
    WriteOptional(file, IndexedKey(keys::kEngineSuggest, index), entry.suggestUrl);
  });
}

void EngineCatalogue::RestoreDefaults() {
  std::vector<EngineEntry> defaults;
  defaults.reserve(kDefaultEngines.size());
  for (const DefaultEngine& engine : kDefaultEngines) {
    const bool taken = FindShortcut(m_entries, engine.shortcut) < m_entries.size();
    defaults.push_back({std::string(engine.name), std::string(engine.searchCode),
                        taken ? std::string() : std::string(engine.shortcut), std::string(engine.suggestUrl)});
  }
  m_entries.insert(m_entries.begin(), defaults.begin(), defaults.end());
}

AddResult EngineCatalogue::CheckShortcut(std::string_view shortcut, size_t position) const {
  if (!IsOneWord(shortcut)) return AddResult::ShortcutHasBlank;
  if (OtherWithShortcut(shortcut, position) < m_entries.size()) return AddResult::ShortcutTaken;
  return AddResult::Added;
}

AddResult EngineCatalogue::AddEntry(std::string_view name, std::string_view searchCode,
                                    std::string_view shortcut, std::string_view suggestUrl) {
  name = TrimLeft(name);
  searchCode = TrimLeft(searchCode);
  shortcut = Trim(shortcut);
  if (name.empty()) return AddResult::NameMissing;
  if (searchCode.empty()) return AddResult::CodeMissing;
  if (HasEntryNamed(m_entries, name, &EngineEntry::name)) return AddResult::Duplicate;
  if (AddResult check = CheckShortcut(shortcut, m_entries.size()); check != AddResult::Added) return check;
  m_entries.push_back({std::string(name), std::string(searchCode), std::string(shortcut),
                       std::string(Trim(suggestUrl))});
  return AddResult::Added;
}

AddResult EngineCatalogue::ReplaceEntry(size_t position, std::string_view name, std::string_view searchCode,
                                        std::string_view shortcut, std::string_view suggestUrl) {
  if (position >= m_entries.size()) return AddResult::Added;
  shortcut = Trim(shortcut);
  if (AddResult check = CheckShortcut(shortcut, position); check != AddResult::Added) return check;
  m_entries[position] = {std::string(name), std::string(searchCode), std::string(shortcut),
                         std::string(Trim(suggestUrl))};
  return AddResult::Added;
}

void EngineCatalogue::RemoveEntry(size_t position) { EraseAt(m_entries, position); }

void EngineCatalogue::MoveUp(size_t position) {
  if (position > 0 && position < m_entries.size()) MoveTo(position, position - 1);
}

void EngineCatalogue::MoveDown(size_t position) {
  if (position + 1 < m_entries.size()) MoveTo(position, position + 1);
}

size_t EngineCatalogue::OtherWithShortcut(std::string_view shortcut, size_t position) const {
  shortcut = Trim(shortcut);
  if (shortcut.empty()) return m_entries.size();
  for (size_t i = 0; i < m_entries.size(); ++i) {
    if (i != position && EqualsIgnoreCase(m_entries[i].shortcut, shortcut)) return i;
  }
  return m_entries.size();
}

void EngineCatalogue::MoveTo(size_t from, size_t to) {
  std::swap(m_entries[from], m_entries[to]);
  EngineEntry& moved = m_entries[to];
  for (std::string* text : {&moved.name, &moved.searchCode, &moved.shortcut, &moved.suggestUrl}) {
    *text = std::string(CutToUtf16Units(*text, kMaxValueLength));
  }
}
