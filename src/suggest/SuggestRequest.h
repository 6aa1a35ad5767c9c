// What the bar asks a suggestion service while the user types, and what its
// drop-down list then shows. Suggestions are off unless the user switches
// them on: what is typed goes to the engine's suggestion service.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/EngineCatalogue.h"

class GbkCodec;

// How long typing must pause before a request goes out, and how long a
// request may take in all before it is given up.
inline constexpr unsigned kSuggestPauseMs = 150;
inline constexpr unsigned kSuggestBudgetMs = 2000;

struct SuggestAsk {
  std::string url;    // the engine's suggestion address with the text put in
  std::string terms;  // the text asked about
};

// What to ask for the query box's text `queryText` while the menu's engine
// has the suggestion address `currentSuggestUrl`: nothing for an empty text,
// an address, a shortcut with nothing after it, or an engine without a
// suggestion address. A query aimed by a shortcut asks that engine about the
// rest of the text. The switches' site and keyword are not sent.
std::optional<SuggestAsk> WhatToAsk(std::string_view queryText, const std::vector<EngineEntry>& engines,
                                    std::string_view currentSuggestUrl, const GbkCodec& gbk);

// The query box's drop-down list: the history entries that begin with what is
// typed (letter case ignored), then the suggestions not among them. Without
// suggestions it is the whole history, as it always was.
struct DropList {
  std::vector<std::string> items;
  size_t historyItems = 0;              // items[0..historyItems) are history entries
  std::vector<size_t> historyPositions;  // the history position of each of them
};
DropList ComposeDropList(const std::vector<std::string>& history, std::string_view typed,
                         const std::vector<std::string>& suggestions);
