// A query aimed at an engine by a shortcut word in front of it: "g 天气"
// searches 天气 with the engine whose shortcut is "g", whichever engine the
// menu has chosen and whether or not the menu offers that engine.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/EngineCatalogue.h"

class GbkCodec;

struct AimedQuery {
  size_t engine;           // the catalogue position the first word names; npos when none
  std::string_view terms;  // what is searched for: the rest of the query, or all of it

  static constexpr size_t npos = static_cast<size_t>(-1);
  bool Aimed() const { return engine != npos; }
};

// `query` (leading blanks already removed) is aimed when its first word is an
// engine's shortcut, letter case ignored, and a blank and more text follow;
// the blank may be a tab or an ideographic space. The rest, without its
// leading blanks, is then searched as it is: also when it looks like an
// address, since the user aimed it at the engine.
AimedQuery AimQuery(std::string_view query, const std::vector<EngineEntry>& engines);

// The URL of a search for `query` (leading blanks already removed): aimed by
// a shortcut, that engine's code filled with the rest and the switches;
// otherwise ComposeSearchUrl with the current engine's code.
std::string ComposeAimedSearchUrl(std::string_view query, const std::vector<EngineEntry>& engines,
                                  std::string_view currentSearchCode, bool siteOn, std::string_view site,
                                  bool keywordOn, std::string_view keyword, const GbkCodec& gbk);
