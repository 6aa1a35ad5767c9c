// Start-up: Quarrow.exe against the floor program (template 102 alone, same
// resources), started in turn, each in a fresh folder holding the same full
// Quarrow.ini, each closed by a close request before the next start.
#include "BarHarness.h"
#include "Bench.h"
#include "MeasurementSettings.h"
#include "Probe.h"

namespace perf {
namespace {

struct Contender {
  std::string label;
  std::string exe;
  RoundSamples shown, inputIdle, visible;
};

StartTiming StartOnce(const Contender& contender, std::string& failure) {
  std::string folder = NewTempFolder("perf-start");
  WriteFileBytes(folder + "\\Quarrow.ini", MeasurementSettings());
  StartTiming timing;
  {
    StartedProgram program;
    timing = program.Start(contender.exe, folder);
    if (!program.Close()) failure = "did not end on a close request";
  }
  RemoveFolder(folder);
  PumpingSleep(250);  // let the session settle (notification area, file cache)
  return timing;
}

struct StepSamples {
  StartupStep step;
  RoundSamples ms;
};

// Where the difference goes: the libraries, then the steps the floor does
// not make, each timed on its own in the same rounds; what is left is the
// rest of the bar's work (its dialog procedure, menus, picture, icons, the
// history list, painting) and the error of the estimate.
void ExplainDifference(Report& report, const std::vector<StepSamples>& steps, double quarrow, double floor,
                       double floorImports) {
  double difference = quarrow - floor;
  double explained = floorImports - floor;
  report.Line("");
  report.Line("| Quarrow - floor, by medians | ms | share |");
  report.Line("|---|---|---|");
  auto row = [&](const std::string& what, double ms) {
    report.Line(Format("| %s | %.1f | %.0f%% |", what.c_str(), ms, difference > 0 ? 100 * ms / difference : 0));
  };
  row("loading Quarrow's other system libraries (floor-imports - floor)", explained);
  for (const StepSamples& p : steps) {
    if (!p.step.madeByTheBar || p.ms.empty()) continue;
    Summary s = Summarize(Values(p.ms));
    row(p.step.description + Format(" (n=%zu, q1-q3 %.1f-%.1f)", s.count, s.q1, s.q3), s.median);
    report.Result("startup_step_" + p.step.name + "_median", s.median, "ms");
    explained += s.median;
  }
  row("the rest", difference - explained);
  row("**total**", difference);
  report.Line("");
  report.Line("Not done by the bar, timed the same way for comparison:");
  for (const StepSamples& p : steps) {
    if (p.step.madeByTheBar || p.ms.empty()) continue;
    Summary s = Summarize(Values(p.ms));
    report.Line(Format("- %s: median %.1f ms (q1-q3 %.1f-%.1f, n=%zu)", p.step.description.c_str(), s.median, s.q1,
                       s.q3, s.count));
    report.Result("startup_other_" + p.step.name + "_median", s.median, "ms");
  }
}

}  // namespace

void MeasureStartup(Report& report, int runs, int warmups, const std::vector<std::string>& others) {
  std::string bin = BinFolder();
  std::vector<Contender> contenders = {
      {"Quarrow.exe", bin + "\\Quarrow.exe", {}, {}, {}},
      {"floor.exe", bin + "\\floor.exe", {}, {}, {}},
      // Not the floor: the floor that also imports Quarrow's system libraries.
      {"floor-imports.exe", bin + "\\floor-imports.exe", {}, {}, {}},
  };
  // Other builds to compare in the same rounds (a change tried out).
  for (const std::string& other : others) contenders.push_back({other, bin + "\\" + other, {}, {}, {}});

  report.Heading(Format("Start-up (%d rounds; each round starts every program once, in turn, and times each step once;"
                        " %d rounds unmeasured first)", runs, warmups));
  report.Line("From just before CreateProcess until WaitForInputIdle has returned, the template-102 window");
  report.Line("is visible, neither it nor a control has anything left to paint, and a sent WM_NULL is answered.");
  report.Line(Steadiness());
  report.Line("");

  // The steps are timed in the same rounds as the starts, so that both meet
  // the same spells of a busy machine.
  std::vector<StepSamples> steps;
  for (const StartupStep& step : StartupSteps()) steps.push_back({step, {}});
  std::string stepsFolder = NewTempFolder("perf-steps");
  WriteFileBytes(stepsFolder + "\\Quarrow.ini", MeasurementSettings());

  for (int round = -warmups; round < runs; ++round) {
    for (size_t k = 0; round >= 0 && k < steps.size(); ++k) {
      StepSamples& p = steps[(static_cast<size_t>(round) + k) % steps.size()];
      double ms = TimeStepInFreshProcess(p.step.name, stepsFolder);
      if (ms < 0) report.Failure("start-up step '" + p.step.name + "' could not be timed");
      else p.ms[round] = ms;
    }
    // Each round begins with another program, so that none is always first after a pause.
    size_t first = static_cast<size_t>(round + warmups) % contenders.size();
    for (size_t k = 0; k < contenders.size(); ++k) {
      Contender& contender = contenders[(first + k) % contenders.size()];
      std::string closeFailure;
      StartTiming timing = StartOnce(contender, closeFailure);
      if (!timing.ok || !closeFailure.empty()) {
        report.Failure(contender.label + " start: " + (timing.ok ? closeFailure : timing.failure));
        continue;
      }
      if (round < 0) continue;
      contender.shown[round] = timing.shownMs;
      contender.inputIdle[round] = timing.inputIdleMs;
      contender.visible[round] = timing.visibleMs;
    }
  }

  RemoveFolder(stepsFolder);
  const Contender& quarrow = contenders[0];
  const Contender& floor = contenders[1];
  const Contender& floorImports = contenders[2];
  report.Line(SummaryHeader());
  for (const Contender& c : contenders) report.Line(SummaryRow(c.label + " shown and idle", Summarize(Values(c.shown))));
  for (const Contender& c : contenders) {
    report.Line(SummaryRow(c.label + " WaitForInputIdle returned", Summarize(Values(c.inputIdle))));
    report.Line(SummaryRow(c.label + " first seen visible", Summarize(Values(c.visible))));
  }
  report.Line(Steadiness());
  report.Line("");
  if (quarrow.shown.empty() || floor.shown.empty() || floorImports.shown.empty()) {
    report.Failure("start-up: no successful starts to compare");
    return;
  }
  double quarrowMedian = Median(Values(quarrow.shown));
  double floorMedian = Median(Values(floor.shown));
  double ratio = quarrowMedian / floorMedian;
  Summary paired = Summarize(PairedRatios(quarrow.shown, floor.shown));
  report.Line(Format("Quarrow/floor: ratio of the medians %.2f; per round %.2f (q1-q3 %.2f-%.2f, n=%zu)", ratio,
                     paired.median, paired.q1, paired.q3, paired.count));
  report.Result("startup_quarrow_median", quarrowMedian, "ms");
  report.Result("startup_floor_median", floorMedian, "ms");
  report.Result("startup_quarrow_iqr", Summarize(Values(quarrow.shown)).Spread(), "ms");
  report.Result("startup_floor_iqr", Summarize(Values(floor.shown)).Spread(), "ms");
  report.Result("startup_ratio_quarrow_floor", ratio, "x", "<=1.25", ratio <= 1.25);
  report.Result("startup_ratio_quarrow_floor_per_round", paired.median, "x", "<=1.25", paired.median <= 1.25);
  double floorImportsMedian = Median(Values(floorImports.shown));
  report.Result("startup_floor_imports_median", floorImportsMedian, "ms");
  for (size_t k = 3; k < contenders.size(); ++k) {
    const Contender& other = contenders[k];
    Summary againstQuarrow = Summarize(PairedRatios(other.shown, quarrow.shown));
    report.Line(Format("%s: median %.1f ms; per round against Quarrow.exe %.3f (q1-q3 %.3f-%.3f), against the floor %.2f",
                       other.label.c_str(), Median(Values(other.shown)), againstQuarrow.median, againstQuarrow.q1,
                       againstQuarrow.q3, Median(PairedRatios(other.shown, floor.shown))));
    report.Result("startup_" + other.label + "_median", Median(Values(other.shown)), "ms");
    report.Result("startup_ratio_" + other.label + "_quarrow_per_round", againstQuarrow.median, "x");
  }
  ExplainDifference(report, steps, quarrowMedian, floorMedian, floorImportsMedian);
}

}  // namespace perf
