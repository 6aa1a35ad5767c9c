// An ordered list of texts kept in one section of Quarrow.ini: the keywords
// (KeywordList) and the sites (SiteList) are the same kind of list with another
// section, key prefix and default.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/AddResult.h"
#include "settings/SettingsFile.h"

// Where a text list lives and what a missing entry reads as.
struct TextListKind {
  std::string_view section;
  std::string_view entryPrefix;   // the key of entry n is this prefix and n
  std::string_view entryDefault;  // what a missing entry key reads as
};

extern const TextListKind kKeywordListKind;  // section Key, "K%d", "MFC"
extern const TextListKind kSiteListKind;     // section Site, "S%d", the default site

// Entry `index` of the list of that kind as the file holds it.
std::string ReadTextListEntry(const SettingsFile& file, const TextListKind& kind, int index);

class TextList {
 public:
  explicit TextList(const TextListKind& kind) : m_kind(kind) {}

  // Replaces the entries with the "Number" entries that the file holds.
  void LoadForEditing(const SettingsFile& file);
  // Writes "Number" and then the entry keys; nothing else.
  void Save(const SettingsFile& file) const;

  // Leading blanks are removed; an empty text, or one the list already holds
  // (whole text, ignoring case), is refused.
  AddResult AddEntry(std::string_view text);
  // Takes the text as it is: no trimming, no check.
  void ReplaceEntry(size_t position, std::string_view text);
  void RemoveEntry(size_t position);
  // Removes the entry at `position` and puts `text` one place higher (lower):
  // the settings dialog passes its edit box, which may have been changed since
  // the entry was selected. At the first (last) position, and at a position
  // past the end, nothing changes.
  void MoveUp(size_t position, std::string_view text);
  void MoveDown(size_t position, std::string_view text);

  const std::vector<std::string>& Entries() const { return m_entries; }
  size_t Count() const { return m_entries.size(); }
  const TextListKind& Kind() const { return m_kind; }

 private:
  void MoveTo(size_t from, size_t to, std::string_view text);

  TextListKind m_kind;
  std::vector<std::string> m_entries;
};

class KeywordList : public TextList {
 public:
  KeywordList() : TextList(kKeywordListKind) {}
};

class SiteList : public TextList {
 public:
  SiteList() : TextList(kSiteListKind) {}
};
