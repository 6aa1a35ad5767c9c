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
  std::string searchCode;  // URL; the query goes where it says, or at its end
  std::string shortcut = {};    // a word typed before a query to search with this engine; "" none
  std::string suggestUrl = {};  // where suggestions for a query are asked ({q}, {q:gbk}); "" none

  bool operator==(const EngineEntry&) const = default;
};

struct DefaultEngine {
  std::string_view name;
  std::string_view searchCode;
  std::string_view shortcut;
  std::string_view suggestUrl;
};

// The built-in engines, in the order "全部恢复默认" inserts them. Row 0 (Baidu
// web search) is also what a missing "E%d" or "S%d" key reads as.
extern const std::array<DefaultEngine, 10> kDefaultEngines;
inline constexpr std::string_view kDefaultSearchCode = "https://www.baidu.com/s?wd=";

// Entry `index` as the file holds it: name "E%d", search code "S%d" (each
// with row 0 of the built-in table where the key is missing), then the
// shortcut "A%d" and the suggestion address "U%d" (none where missing).
EngineEntry ReadEngineEntry(const SettingsFile& file, int index);

// A shortcut is one word: no blank, tab or ideographic space in it.
bool IsOneWord(std::string_view shortcut);

class EngineCatalogue {
 public:
  // Replaces the entries with the "Number" entries that the file holds.
  void LoadForEditing(const SettingsFile& file);
  // Writes "Number" and then "E%d", "S%d", "A%d" and "U%d" of each entry;
  // nothing else. An empty "A%d" or "U%d" only over a value the file holds.
  void Save(const SettingsFile& file) const;

  // Puts the ten built-in engines in front of the entries there are. A
  // built-in engine comes without its shortcut where an engine already has
  // that word: the user's own choice stays.
  void RestoreDefaults();
  // Leading blanks of the name and code are removed, blanks around the
  // shortcut; an empty name or code, a name the catalogue already has
  // (ignoring case), or a shortcut that is not one word or that another
  // engine has (ignoring case), is refused.
  // The suggestion address is taken without its blanks around.
  AddResult AddEntry(std::string_view name, std::string_view searchCode, std::string_view shortcut = {},
                     std::string_view suggestUrl = {});
  // Takes the name and code as they are: no trimming, no check. The shortcut
  // is refused, and nothing changes, as AddEntry refuses it; Added otherwise.
  AddResult ReplaceEntry(size_t position, std::string_view name, std::string_view searchCode,
                         std::string_view shortcut = {}, std::string_view suggestUrl = {});
  void RemoveEntry(size_t position);
  // Exchange the entry with its neighbour, as the dialog's list moves a row:
  // the moved entry's texts travel through 1024-byte buffers, so each arrives
  // cut to kMaxValueLength bytes (byte-wise, as CutTo cuts); the neighbour is
  // not touched. At the first (last) position, and at a position past the
  // end, nothing changes.
  void MoveUp(size_t position);
  void MoveDown(size_t position);

  // The first engine other than the one at `position` whose shortcut is
  // `shortcut` (ignoring case, trimmed), or Count() when none has it.
  size_t OtherWithShortcut(std::string_view shortcut, size_t position) const;

  const std::vector<EngineEntry>& Entries() const { return m_entries; }
  size_t Count() const { return m_entries.size(); }

 private:
  // Whether `shortcut` (trimmed) may be given to the entry at `position`
  // (Count() for a new one): Added when it may.
  AddResult CheckShortcut(std::string_view shortcut, size_t position) const;
  void MoveTo(size_t from, size_t to);

  std::vector<EngineEntry> m_entries;
};

// The first engine of `engines` whose shortcut is `word`, ignoring case, or
// engines.size() when none has it.
size_t FindShortcut(const std::vector<EngineEntry>& engines, std::string_view word);
