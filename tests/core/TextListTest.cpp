#include <gtest/gtest.h>

#include "ScratchSettings.h"
#include "base/Text.h"
#include "settings/Keys.h"
#include "settings/TextList.h"

namespace {

using Texts = std::vector<std::string>;

TextList Keywords(const Texts& texts) {
  KeywordList list;
  for (const std::string& text : texts) list.AddEntry(text);
  return list;
}

}  // namespace

TEST(TextList, MissingSectionsGiveTenDefaults) {
  ScratchSettings settings;
  settings.WriteRaw("K0=outside any section\r\n");
  settings.Write(keys::kEngine, "S0", "http://engine/");  // Engine's S0 is not a site
  KeywordList keywords;
  SiteList sites;
  keywords.LoadForEditing(settings.File());
  sites.LoadForEditing(settings.File());
  EXPECT_EQ(keywords.Entries(), Texts(10, "MFC"));
  EXPECT_EQ(sites.Entries(), Texts(10, "csdn.net"));
}

TEST(TextList, LoadsOnlyNumberEntriesAndSavingKeepsHigherKeys) {
  ScratchSettings settings;
  for (int i = 0; i < 10; ++i) settings.Write(keys::kSite, IndexedKey("S", i), IndexedKey("site", i));
  settings.Write(keys::kSite, keys::kNumber, "0");
  SiteList sites;
  sites.LoadForEditing(settings.File());
  EXPECT_EQ(sites.Count(), 0u);

  for (const char* site : {"a.com", "b.com", "c.com"}) sites.AddEntry(site);
  sites.Save(settings.File());
  EXPECT_EQ(settings.Read(keys::kSite, keys::kNumber), "3");
  EXPECT_EQ(settings.Read(keys::kSite, "S2"), "c.com");
  EXPECT_EQ(settings.Read(keys::kSite, "S3"), "site3");
  EXPECT_EQ(settings.Read(keys::kSite, "S9"), "site9");
  EXPECT_EQ(settings.Read(keys::kKey, keys::kNumber), "<missing>");
  sites.LoadForEditing(settings.File());
  EXPECT_EQ(sites.Entries(), (Texts{"a.com", "b.com", "c.com"}));
}

TEST(TextList, AddEntryTrimsAndRefuses) {
  struct Case { const char* text; AddResult result; } steps[] = {
      {"  Visual C++", AddResult::Added},   {"visual c++", AddResult::Duplicate},
      {"Visual", AddResult::Added},         {"Visual ", AddResult::Added},
      {"", AddResult::TextMissing},         {" \t\r\n", AddResult::TextMissing},
      {"MFC", AddResult::Added},            {"mfc", AddResult::Duplicate},
      {"Δέλτα", AddResult::Added},         {"ΔΈΛΤΑ", AddResult::Duplicate},
      {"百度", AddResult::Added},           {"佰度", AddResult::Added},
  };
  KeywordList list;
  for (const auto& step : steps) EXPECT_EQ(list.AddEntry(step.text), step.result) << step.text;
  EXPECT_EQ(list.Entries(), (Texts{"Visual C++", "Visual", "Visual ", "MFC", "Δέλτα", "百度", "佰度"}));
}

TEST(TextList, MovesPutTheGivenTextAtTheNeighbourPosition) {
  struct Case { bool up; size_t position; const char* text; Texts result; } moves[] = {
      {true, 1, "b", {"b", "a", "c"}},        {false, 1, "b", {"a", "c", "b"}},
      {true, 2, "changed", {"a", "changed", "b"}},
      {false, 0, "changed", {"b", "changed", "c"}},
      {true, 0, "changed", {"a", "b", "c"}},  {false, 2, "changed", {"a", "b", "c"}},
      {false, 7, "changed", {"a", "b", "c"}},
  };
  for (const auto& move : moves) {
    TextList list = Keywords({"a", "b", "c"});
    move.up ? list.MoveUp(move.position, move.text) : list.MoveDown(move.position, move.text);
    EXPECT_EQ(list.Entries(), move.result) << (move.up ? "up " : "down ") << move.position;
  }
}

TEST(TextList, ReplaceTakesAnyTextAndRemoveClosesTheGap) {
  TextList list = Keywords({"a", "b", "c"});
  list.ReplaceEntry(0, "");
  list.ReplaceEntry(1, "c");
  EXPECT_EQ(list.Entries(), (Texts{"", "c", "c"}));
  list.RemoveEntry(0);
  list.RemoveEntry(5);
  EXPECT_EQ(list.Entries(), (Texts{"c", "c"}));
}
