// The queries searched for, most recent first; the query box's drop-down list
// shows exactly these. Loaded from section History at start, saved at exit.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/SettingsFile.h"

// Keys "H0" to "H99": only the first this many entries are saved.
inline constexpr int kSavedHistoryEntries = 100;

class QueryHistory {
 public:
  // Replaces the entries with the non-empty values of H0..H99, in key order.
  void Load(const SettingsFile& file);

  // Makes `query` the most recent entry. One older entry that begins with the
  // query (ignoring case) goes: positions 1 to the last are looked at first,
  // position 0 last. Returns the position of the entry removed, before the
  // query was put at position 0, so that the query box's list can follow. An
  // empty query is not recorded: nothing changes and nothing is returned.
  std::optional<size_t> Record(std::string_view query);

  // Removes the entry; a position past the end changes nothing.
  void RemoveAt(size_t position);

  // Writes H0..H99: entry n, or the empty text where there is none. Entries
  // from position 100 on are not written.
  void Save(const SettingsFile& file) const;

  const std::vector<std::string>& Entries() const { return m_entries; }
  size_t Count() const { return m_entries.size(); }

 private:
  std::vector<std::string> m_entries;
};
