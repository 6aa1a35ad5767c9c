#include "search/AimedQuery.h"

#include "base/Text.h"
#include "search/SearchUrl.h"

namespace {

constexpr std::string_view kIdeographicSpace = "\u3000";

// The length of the blank at the start of `text`: 1 for ASCII white space, 3
// for an ideographic space, 0 for anything else.
size_t BlankAt(std::string_view text) {
  if (!text.empty() && IsBlank(text.front())) return 1;
  return text.starts_with(kIdeographicSpace) ? kIdeographicSpace.size() : 0;
}

}  // namespace

AimedQuery AimQuery(std::string_view query, const std::vector<EngineEntry>& engines) {
  const AimedQuery plain{AimedQuery::npos, query};
  size_t wordEnd = 0;
  while (wordEnd < query.size() && BlankAt(query.substr(wordEnd)) == 0) ++wordEnd;
  if (wordEnd == 0 || wordEnd == query.size()) return plain;
  std::string_view rest = query.substr(wordEnd);
  while (size_t blank = BlankAt(rest)) rest.remove_prefix(blank);
  if (rest.empty()) return plain;
  const size_t engine = FindShortcut(engines, query.substr(0, wordEnd));
  if (engine == engines.size()) return plain;
  return {engine, rest};
}

std::string ComposeAimedSearchUrl(std::string_view query, const std::vector<EngineEntry>& engines,
                                  std::string_view currentSearchCode, bool siteOn, std::string_view site,
                                  bool keywordOn, std::string_view keyword, const GbkCodec& gbk) {
  const AimedQuery aim = AimQuery(query, engines);
  if (!aim.Aimed()) return ComposeSearchUrl(query, currentSearchCode, siteOn, site, keywordOn, keyword, gbk);
  return FillSearchCode(engines[aim.engine].searchCode, SearchTerms(aim.terms, siteOn, site, keywordOn, keyword),
                        gbk);
}
