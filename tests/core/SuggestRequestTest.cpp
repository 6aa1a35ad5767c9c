#include <gtest/gtest.h>

#include "IconvGbk.h"
#include "suggest/SuggestRequest.h"

namespace {

const IconvGbk kGbk;

const std::vector<EngineEntry> kEngines = {
    {"Baidu", "https://b/s?wd=", "bd", "https://b/su?wd={q}"},
    {"Gbk", "https://g/?q=", "g", "https://g/su?q={q:gbk}"},
    {"Quiet", "https://q/?q=", "q", ""},
};

}  // namespace

// The menu's engine is asked about the whole text; a shortcut's engine about
// the rest; nothing goes out for an empty text, an address, a shortcut alone
// or an engine without a suggestion address.
TEST(SuggestRequest, WhatIsAskedAndOfWhom) {
  const std::string current = "https://c/?q={q}";
  struct Case { std::string typed; std::string url; } cases[] = {
      {"天气", "https://c/?q=%E5%A4%A9%E6%B0%94"},
      {"  a&b ", "https://c/?q=a%26b%20"},
      {"bd 天气", "https://b/su?wd=%E5%A4%A9%E6%B0%94"},
      {"G 中", "https://g/su?q=%D6%D0"},
      {"bd www.a.com", "https://b/su?wd=www.a.com"},  // aimed: asked as text
      {"www.a.com", ""},
      {"http://a", ""},
      {"", ""},
      {"   ", ""},
      {"bd", ""},
      {"bd  ", ""},
      {"q 天气", ""},
      {"bdx", "https://c/?q=bdx"},
  };
  for (const Case& c : cases) {
    std::optional<SuggestAsk> ask = WhatToAsk(c.typed, kEngines, current, kGbk);
    EXPECT_EQ(ask ? ask->url : "", c.url) << c.typed;
  }
  EXPECT_FALSE(WhatToAsk("天气", kEngines, "", kGbk));
  EXPECT_EQ(WhatToAsk("bd 雨", kEngines, "", kGbk)->terms, "雨");
}

// The list: the history entries that begin with what is typed, then the
// suggestions not among them; without suggestions the whole history.
TEST(SuggestRequest, TheDropListShowsMatchingHistoryThenSuggestions) {
  const std::vector<std::string> history = {"天气旧", "other", "天坛", "TianQi"};
  struct Case {
    std::string typed;
    std::vector<std::string> suggestions, items;
    std::vector<size_t> positions;
  } cases[] = {
      {"天", {"天气预报", "天坛"}, {"天气旧", "天坛", "天气预报"}, {0, 2}},
      {"tian", {"tianqi", "tiananmen"}, {"TianQi", "tiananmen"}, {3}},  // letter case ignored
      {"天", {}, history, {0, 1, 2, 3}},
      {"zz", {"zz1"}, {"zz1"}, {}},
  };
  for (const Case& c : cases) {
    DropList list = ComposeDropList(history, c.typed, c.suggestions);
    EXPECT_EQ(list.items, c.items) << c.typed;
    EXPECT_EQ(list.historyPositions, c.positions) << c.typed;
    EXPECT_EQ(list.historyItems, c.positions.size()) << c.typed;
  }
}
