#include <gtest/gtest.h>

#include <cstdio>

#include "ScratchSettings.h"
#include "base/Text.h"
#include "search/QueryHistory.h"
#include "settings/Keys.h"

namespace {

using Texts = std::vector<std::string>;

// A history holding `entries`, most recent first, built as the bar would
// build it: by loading them from the file.
QueryHistory HistoryOf(const Texts& entries) {
  ScratchSettings settings;
  for (size_t i = 0; i < entries.size(); ++i) {
    settings.Write(keys::kHistory, IndexedKey("H", static_cast<int>(i)), entries[i]);
  }
  QueryHistory history;
  history.Load(settings.File());
  return history;
}

}  // namespace

TEST(QueryHistory, RecordRemovesOnePrefixMatchThenInsertsAtTheTop) {
  struct Case { Texts before; const char* query; Texts after; std::optional<size_t> removed; } cases[] = {
      {{"ab", "x", "abc"}, "ab", {"ab", "ab", "x"}, 2},
      {{"abc"}, "ab", {"ab"}, 0},
      {{"ab"}, "abc", {"abc", "ab"}, std::nullopt},
      {{"ABC"}, "abc", {"abc"}, 0},
      {{"abc", "abd"}, "ab", {"ab", "abc"}, 1},
      {{"ab"}, "ab", {"ab"}, 0},
      {{}, "www.abc", {"www.abc"}, std::nullopt},
      {{"Äpfel"}, "äp", {"äp"}, 0},
      {{"百度一下"}, "百度", {"百度"}, 0},
      {{"佰度"}, "百", {"百", "佰度"}, std::nullopt},
  };
  for (const auto& c : cases) {
    QueryHistory history = HistoryOf(c.before);
    EXPECT_EQ(history.Record(c.query), c.removed) << c.query;
    EXPECT_EQ(history.Entries(), c.after) << c.query;
  }
}

TEST(QueryHistory, EmptyQueryAndBadPositionsChangeNothing) {
  QueryHistory history = HistoryOf({"a", "b"});
  EXPECT_EQ(history.Record(""), std::nullopt);
  history.RemoveAt(2);
  EXPECT_EQ(history.Entries(), (Texts{"a", "b"}));
  history.RemoveAt(0);
  EXPECT_EQ(history.Entries(), (Texts{"b"}));
}

TEST(QueryHistory, LoadSkipsEmptyValuesAndSaveWritesAllHundredKeys) {
  ScratchSettings settings;
  settings.Write(keys::kHistory, "H0", "a");
  settings.Write(keys::kHistory, "H1", "");
  settings.Write(keys::kHistory, "H2", "b");
  settings.Write(keys::kHistory, "H100", "beyond");
  QueryHistory history;
  history.Load(settings.File());
  EXPECT_EQ(history.Entries(), (Texts{"a", "b"}));

  history.Save(settings.File());
  EXPECT_EQ(settings.Read(keys::kHistory, "H0"), "a");
  EXPECT_EQ(settings.Read(keys::kHistory, "H1"), "b");
  for (int i = 2; i < 100; ++i) EXPECT_EQ(settings.Read(keys::kHistory, IndexedKey("H", i)), "") << i;
}

TEST(QueryHistory, OnlyTheHundredMostRecentSurviveARestart) {
  ScratchSettings settings;
  QueryHistory history;
  char query[16];
  for (int i = 0; i <= 100; ++i) {
    std::snprintf(query, sizeof query, "q%03d", i);
    history.Record(query);
  }
  EXPECT_EQ(history.Count(), 101u);
  history.Save(settings.File());
  history.Load(settings.File());
  ASSERT_EQ(history.Count(), 100u);
  EXPECT_EQ(history.Entries().front(), "q100");
  EXPECT_EQ(history.Entries().back(), "q001");
}

TEST(QueryHistory, RestartDropsSurroundingBlanksAndCutsAt1023Bytes) {
  ScratchSettings settings;
  QueryHistory history;
  history.Record(std::string(1500, 'q'));
  history.Record("trailing  ");
  history.Record("\"exact phrase\"");
  history.Save(settings.File());
  history.Load(settings.File());
  EXPECT_EQ(history.Entries(), (Texts{"\"exact phrase\"", "trailing", std::string(1023, 'q')}));
}
