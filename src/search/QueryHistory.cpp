#include "search/QueryHistory.h"

#include "base/Text.h"
#include "settings/CountedList.h"
#include "settings/Keys.h"

void QueryHistory::Load(const SettingsFile& file) {
  m_entries.clear();
  for (int index = 0; index < kSavedHistoryEntries; ++index) {
    std::string entry = file.ReadString(keys::kHistory, IndexedKey(keys::kHistoryEntry, index), "");
    if (!entry.empty()) m_entries.push_back(std::move(entry));
  }
}

std::optional<size_t> QueryHistory::Record(std::string_view query) {
  if (query.empty()) return std::nullopt;
  std::optional<size_t> removed;
  // Positions 1 to the last first, then 0: with ab, x, abc a search for ab
  // removes abc and leaves the ab at the top, which then appears twice.
  for (size_t position = 1; position <= m_entries.size() && !removed; ++position) {
    size_t candidate = position % m_entries.size();
    if (StartsWithIgnoreCase(m_entries[candidate], query)) removed = candidate;
  }
  std::string recorded(query);  // the query may view the entry removed below
  if (removed) EraseAt(m_entries, *removed);
  m_entries.insert(m_entries.begin(), std::move(recorded));
  return removed;
}

void QueryHistory::RemoveAt(size_t position) { EraseAt(m_entries, position); }

void QueryHistory::Save(const SettingsFile& file) const {
  for (int index = 0; index < kSavedHistoryEntries; ++index) {
    const size_t position = static_cast<size_t>(index);
    std::string_view entry = position < m_entries.size() ? std::string_view(m_entries[position]) : "";
    file.WriteString(keys::kHistory, IndexedKey(keys::kHistoryEntry, index), entry);
  }
}
