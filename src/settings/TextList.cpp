#include "settings/TextList.h"

#include <functional>

#include "base/Text.h"
#include "base/Texts.h"
#include "settings/CountedList.h"
#include "settings/Keys.h"

const TextListKind kKeywordListKind = {keys::kKey, keys::kKeyword, kDefaultKeyword};
const TextListKind kSiteListKind = {keys::kSite, keys::kSiteEntry, kDefaultSite};

std::string ReadTextListEntry(const SettingsFile& file, const TextListKind& kind, int index) {
  return file.ReadString(kind.section, IndexedKey(kind.entryPrefix, index), kind.entryDefault);
}

void TextList::LoadForEditing(const SettingsFile& file) {
  m_entries = LoadCountedList(file, m_kind.section, [&](int index) {
    return ReadTextListEntry(file, m_kind, index);
  });
}

void TextList::Save(const SettingsFile& file) const {
  SaveCountedList(file, m_kind.section, m_entries, [&](int index, const std::string& entry) {
    file.WriteString(m_kind.section, IndexedKey(m_kind.entryPrefix, index), entry);
  });
}

AddResult TextList::AddEntry(std::string_view text) {
  text = TrimLeft(text);
  if (text.empty()) return AddResult::TextMissing;
  if (HasEntryNamed(m_entries, text, std::identity{})) return AddResult::Duplicate;
  m_entries.emplace_back(text);
  return AddResult::Added;
}

void TextList::ReplaceEntry(size_t position, std::string_view text) {
  if (position < m_entries.size()) m_entries[position] = text;
}

void TextList::RemoveEntry(size_t position) { EraseAt(m_entries, position); }

void TextList::MoveUp(size_t position, std::string_view text) {
  if (position > 0 && position < m_entries.size()) MoveTo(position, position - 1, text);
}

void TextList::MoveDown(size_t position, std::string_view text) {
  if (position + 1 < m_entries.size()) MoveTo(position, position + 1, text);
}

void TextList::MoveTo(size_t from, size_t to, std::string_view text) {
  // `text` may view the entry that is removed here: copy it first.
  std::string moved(text);
  EraseAt(m_entries, from);
  m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(to), std::move(moved));
}
