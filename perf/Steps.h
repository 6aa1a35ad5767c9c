// A program's start-up steps put beside a floor's: what each step of the
// program costs above the floor's step of the same name. Plain C++, no
// platform calls.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace perf {

// One step of a clocked start: its own time (median over the rounds) and the
// working set it added (median), as the step table shows them.
struct StepCost {
  std::string step;
  double ms = 0;
  double addedKb = 0;
};

// A step of the program, or of the floor alone, and how much more it costs in
// the program: the whole step when the floor does not make it, the difference
// when both do, the floor's step negated when only the floor makes it.
struct StepAbove {
  std::string step;
  std::optional<double> programMs, floorMs;
  std::optional<double> programKb, floorKb;
  double aboveMs = 0;
  double aboveKb = 0;
};

// The program's steps in its order; then any step only the floor makes, in
// the floor's order. Steps pair by name; a name repeated pairs once, first
// with first.
inline std::vector<StepAbove> CompareSteps(const std::vector<StepCost>& program, const std::vector<StepCost>& floor) {
  std::vector<StepAbove> rows;
  std::vector<bool> paired(floor.size(), false);
  for (const StepCost& step : program) {
    StepAbove row{step.step, step.ms, std::nullopt, step.addedKb, std::nullopt, step.ms, step.addedKb};
    for (size_t i = 0; i < floor.size(); ++i) {
      if (paired[i] || floor[i].step != step.step) continue;
      paired[i] = true;
      row.floorMs = floor[i].ms;
      row.floorKb = floor[i].addedKb;
      row.aboveMs = step.ms - floor[i].ms;
      row.aboveKb = step.addedKb - floor[i].addedKb;
      break;
    }
    rows.push_back(row);
  }
  for (size_t i = 0; i < floor.size(); ++i) {
    if (paired[i]) continue;
    rows.push_back({floor[i].step, std::nullopt, floor[i].ms, std::nullopt, floor[i].addedKb, -floor[i].ms,
                    -floor[i].addedKb});
  }
  return rows;
}

// The sum of what the rows cost above the floor: with every step of both
// marked, the difference between the two programs' whole start-ups.
inline double TotalAboveMs(const std::vector<StepAbove>& rows) {
  double total = 0;
  for (const StepAbove& row : rows) total += row.aboveMs;
  return total;
}

}  // namespace perf
