// The user's ordered list of search engines (section Engine of Quarrow.ini),
// as the engine settings dialog loads, edits and saves it, and the table of
// the ten built-in engines.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "settings/AddResult.h"
#include "settings/SettingsFile.h"

struct EngineEntry {
  std::string name;        // menu text and the Search button's caption
  std::string searchCode;  // URL prefix; the query is appended to it unchanged

  bool operator==(const EngineEntry&) const = default;
};

struct DefaultEngine {
  std::string_view name;
  std::string_view searchCode;
};

// The built-in engines, in the order "全部恢复默认" inserts them. Row 0 (Baidu
// web search) is also what a missing "E%d" or "S%d" key reads as.
extern const std::array<DefaultEngine, 10> kDefaultEngines;
inline constexpr std::string_view kDefaultSearchCode = "http://www.baidu.com/s?wd=";

// Entry `index` as the file holds it: name "E%d", then search code "S%d",
// each with row 0 of the built-in table where the key is missing.
EngineEntry ReadEngineEntry(const SettingsFile& file, int index);

class EngineCatalogue {
 public:
  // Replaces the entries with the "Number" entries that the file holds.
  void LoadForEditing(const SettingsFile& file);
  // Writes "Number" and then "E%d" and "S%d" of each entry; nothing else.
  void Save(const SettingsFile& file) const;

  // Puts the ten built-in engines in front of the entries there are.
  void RestoreDefaults();
  // Leading blanks of both texts are removed; an empty name or code, or a name
  // the catalogue already has (ignoring case), is refused.
  AddResult AddEntry(std::string_view name, std::string_view searchCode);
  // Takes both texts as they are: no trimming, no check.
  void ReplaceEntry(size_t position, std::string_view name, std::string_view searchCode);
  void RemoveEntry(size_t position);
  // Exchange the entry with its neighbour, as the dialog's list moves a row:
  // the moved entry's texts travel through 1024-byte buffers, so each arrives
  // cut to kMaxValueLength bytes (byte-wise, as CutTo cuts); the neighbour is
  // not touched. At the first (last) position, and at a position past the
  // end, nothing changes.
  void MoveUp(size_t position);
  void MoveDown(size_t position);

  const std::vector<EngineEntry>& Entries() const { return m_entries; }
  size_t Count() const { return m_entries.size(); }

 private:
  void MoveTo(size_t from, size_t to);

  std::vector<EngineEntry> m_entries;
};
