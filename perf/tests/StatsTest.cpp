// The summaries the measurements report.
#include <gtest/gtest.h>

#include "Stats.h"

namespace {

struct QuantileCase {
  const char* name;
  std::vector<double> samples;
  double p;
  double expected;
};

TEST(Stats, QuantilesInterpolateBetweenSortedNeighbours) {
  const QuantileCase cases[] = {
      {"no samples", {}, 0.5, 0},
      {"one sample", {7}, 0.5, 7},
      {"odd count: the middle one", {5, 1, 3}, 0.5, 3},
      {"even count: mean of the middle two", {4, 1, 3, 2}, 0.5, 2.5},
      {"unsorted input", {10, 0, 30, 20, 40}, 0.25, 10},
      {"between neighbours", {0, 10}, 0.25, 2.5},
      {"lowest", {3, 9, 1}, 0, 1},
      {"highest", {3, 9, 1}, 1, 9},
      {"below 0 clamps", {3, 9, 1}, -1, 1},
      {"above 1 clamps", {3, 9, 1}, 2, 9},
  };
  for (const QuantileCase& c : cases) {
    EXPECT_DOUBLE_EQ(perf::Quantile(c.samples, c.p), c.expected) << c.name;
  }
}

TEST(Stats, SummaryOfSamples) {
  perf::Summary s = perf::Summarize({200, 100, 400, 300, 1000});
  EXPECT_EQ(s.count, 5u);
  EXPECT_DOUBLE_EQ(s.min, 100);
  EXPECT_DOUBLE_EQ(s.q1, 200);
  EXPECT_DOUBLE_EQ(s.median, 300);
  EXPECT_DOUBLE_EQ(s.q3, 400);
  EXPECT_DOUBLE_EQ(s.max, 1000);
  EXPECT_DOUBLE_EQ(s.mean, 400);
  EXPECT_DOUBLE_EQ(s.Spread(), 200);

  perf::Summary empty = perf::Summarize({});
  EXPECT_EQ(empty.count, 0u);
  EXPECT_DOUBLE_EQ(empty.median, 0);
}

TEST(Stats, RatioOfMedians) {
  struct Case {
    const char* name;
    std::vector<double> a, b;
    double expected;
  } cases[] = {
      {"equal", {100, 200, 300}, {300, 200, 100}, 1.0},
      {"slower", {250, 250, 900}, {200, 200, 10}, 1.25},
      {"an outlier does not move it", {100, 100, 100000}, {100, 100, 100}, 1.0},
      {"nothing to divide by", {100}, {}, 0},
      {"zero median", {100}, {0, 0, 5}, 0},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(perf::MedianRatio(c.a, c.b), c.expected) << c.name;
}

TEST(Stats, PairedRatiosUseOnlyRoundsWithBothSamples) {
  struct Case {
    const char* name;
    perf::RoundSamples a, b;
    std::vector<double> expected;
  } cases[] = {
      {"every round", {{0, 200}, {1, 300}}, {{0, 100}, {1, 200}}, {2.0, 1.5}},
      {"a round missing in b", {{0, 200}, {1, 300}, {2, 400}}, {{0, 100}, {2, 100}}, {2.0, 4.0}},
      {"a round missing in a", {{1, 300}}, {{0, 100}, {1, 300}}, {1.0}},
      {"no common round", {{0, 1}}, {{1, 1}}, {}},
      {"zero in b is skipped", {{0, 5}, {1, 6}}, {{0, 0}, {1, 3}}, {2.0}},
  };
  for (const Case& c : cases) EXPECT_EQ(perf::PairedRatios(c.a, c.b), c.expected) << c.name;
}

TEST(Stats, PairedDifferencesUseOnlyRoundsWithBothSamples) {
  EXPECT_EQ(perf::PairedDifferences({{0, 200}, {1, 300}, {3, 5}}, {{0, 150}, {1, 310}, {2, 7}}),
            (std::vector<double>{50, -10}));
  EXPECT_TRUE(perf::PairedDifferences({{0, 1}}, {{1, 1}}).empty());
}

TEST(Stats, ValuesOfRoundsInRoundOrder) {
  EXPECT_EQ(perf::Values({{2, 30}, {0, 10}, {1, 20}}), (std::vector<double>{10, 20, 30}));
  EXPECT_TRUE(perf::Values({}).empty());
}

}  // namespace
