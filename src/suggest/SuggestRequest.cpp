#include "suggest/SuggestRequest.h"

#include <algorithm>

#include "base/Text.h"
#include "search/AimedQuery.h"
#include "search/SearchUrl.h"

namespace {

// A query that is its first word alone, with blanks perhaps, and that word an
// engine's shortcut: the user is about to aim, not to search for the word.
bool IsShortcutAlone(std::string_view query, const std::vector<EngineEntry>& engines) {
  std::string_view word = TrimRight(query);
  if (!IsOneWord(word)) return false;
  return FindShortcut(engines, word) < engines.size();
}

}  // namespace

std::optional<SuggestAsk> WhatToAsk(std::string_view queryText, const std::vector<EngineEntry>& engines,
                                    std::string_view currentSuggestUrl, const GbkCodec& gbk) {
  const std::string_view query = QueryAsSearched(queryText);
  if (TrimRight(query).empty() || IsShortcutAlone(query, engines)) return std::nullopt;
  const AimedQuery aim = AimQuery(query, engines);
  if (!aim.Aimed() && IsAddress(query)) return std::nullopt;
  const std::string_view address = aim.Aimed() ? std::string_view(engines[aim.engine].suggestUrl) : currentSuggestUrl;
  if (Trim(address).empty()) return std::nullopt;
  return SuggestAsk{FillSearchCode(address, aim.terms, gbk), std::string(aim.terms)};
}

DropList ComposeDropList(const std::vector<std::string>& history, std::string_view typed,
                         const std::vector<std::string>& suggestions) {
  DropList list;
  const bool filtered = !suggestions.empty();
  for (size_t i = 0; i < history.size(); ++i) {
    if (filtered && !StartsWithIgnoreCase(history[i], typed)) continue;
    list.items.push_back(history[i]);
    list.historyPositions.push_back(i);
  }
  list.historyItems = list.items.size();
  for (const std::string& suggestion : suggestions) {
    const bool listed = std::any_of(list.items.begin(), list.items.end(),
                                    [&](const std::string& item) { return EqualsIgnoreCase(item, suggestion); });
    if (!listed) list.items.push_back(suggestion);
  }
  return list;
}
