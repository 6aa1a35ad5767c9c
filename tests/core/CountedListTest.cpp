#include <gtest/gtest.h>

#include "ScratchSettings.h"
#include "base/Text.h"
#include "settings/EngineCatalogue.h"
#include "settings/Keys.h"
#include "settings/TextList.h"

namespace {

// The number of entries each settings list loads from its own section.
size_t LoadedCount(const SettingsFile& file, std::string_view section) {
  if (section == keys::kEngine) {
    EngineCatalogue engines;
    engines.LoadForEditing(file);
    return engines.Count();
  }
  TextList list(section == keys::kKey ? kKeywordListKind : kSiteListKind);
  list.LoadForEditing(file);
  return list.Count();
}

}  // namespace

TEST(CountedList, NumberFollowsTheAtoiRuleAndIsCappedAt1000) {
  struct Case { const char* number; size_t count; } cases[] = {
      {nullptr, 10}, {"3", 3},   {"0", 0},          {"abc", 0},     {"-3", 0},
      {"12", 12},    {" 7x", 7}, {"1000", 1000},    {"1001", 1000}, {"2000000000", 1000},
  };
  for (std::string_view section : {keys::kEngine, keys::kKey, keys::kSite}) {
    for (const auto& c : cases) {
      ScratchSettings settings;
      if (c.number) settings.Write(section, keys::kNumber, c.number);
      EXPECT_EQ(LoadedCount(settings.File(), section), c.count)
          << section << " Number=" << (c.number ? c.number : "(missing)");
    }
  }
}

TEST(CountedList, SavingWritesTheRealCountAboveTheCap) {
  ScratchSettings settings;
  KeywordList keywords;
  for (int i = 0; i < 1001; ++i) ASSERT_EQ(keywords.AddEntry(IndexedKey("k", i)), AddResult::Added);
  keywords.Save(settings.File());
  EXPECT_EQ(settings.Read(keys::kKey, keys::kNumber), "1001");
  EXPECT_EQ(settings.Read(keys::kKey, "K1000"), "k1000");
  keywords.LoadForEditing(settings.File());
  EXPECT_EQ(keywords.Count(), 1000u);
}
