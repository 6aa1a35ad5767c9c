// What the three lists of the settings dialogs (engines, keywords, sites) have
// in common: a section holds "Number" and then the keys of entries 0 upwards;
// saving writes "Number" and the entries and leaves higher keys as they were;
// adding removes leading blanks and refuses an empty text or a name the list
// already has.
#pragma once

#include <algorithm>
#include <functional>
#include <string_view>
#include <vector>

#include "base/Text.h"
#include "settings/Keys.h"
#include "settings/SettingsFile.h"

// No more entries than this are loaded, so that a hand-edited
// "Number=2000000000" cannot freeze the program or exhaust its memory.
inline constexpr int kMaxListEntries = 1000;

// "Number" of `section` (default "10", atoi rule), limited to the range
// 0..kMaxListEntries: a count of 0 or below gives an empty list.
int ReadListCount(const SettingsFile& file, std::string_view section);

// The entries of `section`: readEntry(index) for each index below the count.
template <typename ReadEntry>
auto LoadCountedList(const SettingsFile& file, std::string_view section, ReadEntry readEntry) {
  std::vector<decltype(readEntry(0))> entries;
  const int count = ReadListCount(file, section);
  entries.reserve(static_cast<size_t>(count));
  for (int index = 0; index < count; ++index) entries.push_back(readEntry(index));
  return entries;
}

// Writes "Number" as the number of entries, then writeEntry(index, entry) for
// each entry in order. Keys of higher indices stay in the file untouched.
template <typename Entry, typename WriteEntry>
void SaveCountedList(const SettingsFile& file, std::string_view section,
                     const std::vector<Entry>& entries, WriteEntry writeEntry) {
  file.WriteInt(section, keys::kNumber, static_cast<int>(entries.size()));
  for (size_t index = 0; index < entries.size(); ++index) {
    writeEntry(static_cast<int>(index), entries[index]);
  }
}

// True when an entry's name (nameOf(entry)) equals `name` as a whole text,
// ignoring the case of single-byte letters only.
template <typename Entry, typename NameOf>
bool HasEntryNamed(const std::vector<Entry>& entries, std::string_view name, NameOf nameOf) {
  return std::any_of(entries.begin(), entries.end(), [&](const Entry& entry) {
    return EqualsIgnoreCase(std::invoke(nameOf, entry), name);
  });
}

// Removes the entry at `position`; a position past the end changes nothing.
template <typename Entry>
void EraseAt(std::vector<Entry>& entries, size_t position) {
  if (position < entries.size()) entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(position));
}
