// The settings file the measurements start from holds what the figures claim
// (ten engines, keywords and sites, a hundred history entries), read back in
// one snapshot as the bar reads it; and every measured search adds exactly
// one history entry.
#include <gtest/gtest.h>

#include "BarHarness.h"
#include "Bench.h"
#include "MeasurementSettings.h"
#include "bar/BarSettings.h"
#include "search/QueryHistory.h"
#include "settings/win/ReadSettings.h"

namespace {

class MeasurementSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_folder = NewTempFolder("perf-settings-test");
    WriteFileBytes(m_folder + "\\Quarrow.ini", perf::MeasurementSettings());
  }
  void TearDown() override { RemoveFolder(m_folder); }
  BarSettings Read() { return ReadBarSettings(ReadSettingsSnapshot(m_folder + "\\Quarrow.ini").File()); }

  std::string m_folder;
};

TEST_F(MeasurementSettingsTest, TheBarReadsTenOfEachListAndTheOptions) {
  BarSettings settings = Read();
  const SelectionMenus& menus = settings.menus;
  ASSERT_EQ(menus.engines.engines.size(), static_cast<size_t>(perf::kListEntries));
  ASSERT_EQ(menus.keywords.entries.size(), static_cast<size_t>(perf::kListEntries));
  ASSERT_EQ(menus.sites.entries.size(), static_cast<size_t>(perf::kListEntries));
  for (int n = 0; n < perf::kListEntries; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(menus.engines.engines[n].name, "引擎" + std::to_string(n));  // not the defaults
    EXPECT_EQ(menus.engines.engines[n].searchCode, "http://www.example.com/s?engine=" + std::to_string(n) + "&wd=");
    EXPECT_EQ(menus.keywords.entries[n], "关键词" + std::to_string(n));
    EXPECT_EQ(menus.sites.entries[n], "site" + std::to_string(n) + ".example.com");
  }
  EXPECT_EQ(settings.options.useIE, 0);
  EXPECT_EQ(settings.options.useImage, 1);
  EXPECT_EQ(settings.options.imageNumber, 7);
}

TEST_F(MeasurementSettingsTest, TheBarLoadsAHundredHistoryEntriesOfTheLengthAskedFor) {
  const struct {
    size_t asked;
    size_t length;  // of entry 0
  } cases[] = {{0, perf::GbkSize(perf::HistoryEntryText(0))}, {1000, 1000}, {1023, 1023}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.asked);
    WriteFileBytes(m_folder + "\\Quarrow.ini", perf::MeasurementSettings(c.asked));
    QueryHistory history = Read().history;
    ASSERT_EQ(history.Count(), static_cast<size_t>(perf::kHistoryEntries));
    for (int n = 0; n < perf::kHistoryEntries; ++n) {
      EXPECT_EQ(history.Entries()[n], perf::HistoryEntryText(n, c.asked)) << n;
      EXPECT_EQ(perf::GbkSize(history.Entries()[n]), c.length) << n;
      // Lengthened entries still begin with their own number: none begins another.
      for (int m = 0; m < n; ++m) EXPECT_NE(history.Entries()[n].rfind(history.Entries()[m], 0), 0u) << n << " " << m;
    }
  }
}

// The history drops an older entry that begins with the new query (any
// case): a measured query must begin no other measured query and no entry.
TEST_F(MeasurementSettingsTest, EveryMeasuredSearchAddsOneEntry) {
  QueryHistory history = Read().history;
  const struct {
    int first, count;
  } ranges[] = {{0, 200}, {5000, 50}};  // the footprint's searches, the Enter tries
  size_t expected = history.Count();
  for (const auto& range : ranges) {
    for (int n = range.first; n < range.first + range.count; ++n) {
      EXPECT_FALSE(history.Record(perf::MeasuredQuery(n)).has_value()) << perf::MeasuredQuery(n);
      EXPECT_EQ(history.Count(), ++expected);
    }
  }
  // Repeating one moves it to the top: the count stays.
  EXPECT_TRUE(history.Record(perf::MeasuredQuery(7)).has_value());
  EXPECT_EQ(history.Count(), expected);
}

}  // namespace
