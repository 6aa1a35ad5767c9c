// Summaries of repeated measurements: median, quartiles, extremes, and the
// ratio of two medians. Plain C++, no platform calls.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <map>
#include <vector>

namespace perf {

struct Summary {
  size_t count = 0;
  double min = 0, q1 = 0, median = 0, q3 = 0, max = 0, mean = 0;
  double Spread() const { return q3 - q1; }  // interquartile range
};

// The value at fraction `p` (0 to 1) of the sorted samples, interpolated
// linearly between neighbours; 0 for no samples.
inline double Quantile(std::vector<double> samples, double p) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  p = std::clamp(p, 0.0, 1.0);
  double position = p * static_cast<double>(samples.size() - 1);
  size_t below = static_cast<size_t>(std::floor(position));
  size_t above = std::min(below + 1, samples.size() - 1);
  double weight = position - static_cast<double>(below);
  return samples[below] + (samples[above] - samples[below]) * weight;
}

inline double Median(const std::vector<double>& samples) { return Quantile(samples, 0.5); }

inline Summary Summarize(const std::vector<double>& samples) {
  Summary s;
  s.count = samples.size();
  if (samples.empty()) return s;
  s.min = *std::min_element(samples.begin(), samples.end());
  s.max = *std::max_element(samples.begin(), samples.end());
  s.q1 = Quantile(samples, 0.25);
  s.median = Quantile(samples, 0.5);
  s.q3 = Quantile(samples, 0.75);
  double sum = 0;
  for (double v : samples) sum += v;
  s.mean = sum / static_cast<double>(samples.size());
  return s;
}

// Ratio of the medians of `a` and `b`; 0 when `b` has no positive median.
inline double MedianRatio(const std::vector<double>& a, const std::vector<double>& b) {
  double denominator = Median(b);
  return denominator > 0 ? Median(a) / denominator : 0;
}

// Samples taken in numbered rounds (a round may lack a sample). For each round
// that has both, a's sample divided by b's: a comparison that the machine's
// slower and faster spells affect alike, as both were taken moments apart.
using RoundSamples = std::map<int, double>;

inline std::vector<double> PairedRatios(const RoundSamples& a, const RoundSamples& b) {
  std::vector<double> ratios;
  for (const auto& [round, value] : a) {
    auto other = b.find(round);
    if (other != b.end() && other->second > 0) ratios.push_back(value / other->second);
  }
  return ratios;
}

// For each round that has both, a's sample minus b's.
inline std::vector<double> PairedDifferences(const RoundSamples& a, const RoundSamples& b) {
  std::vector<double> differences;
  for (const auto& [round, value] : a) {
    auto other = b.find(round);
    if (other != b.end()) differences.push_back(value - other->second);
  }
  return differences;
}

inline std::vector<double> Values(const RoundSamples& samples) {
  std::vector<double> values;
  for (const auto& entry : samples) values.push_back(entry.second);
  return values;
}

}  // namespace perf
