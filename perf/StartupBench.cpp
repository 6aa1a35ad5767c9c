// Start-up: Quarrow.exe against the floor program (template 102 alone, same
// resources), started in turn, each in a fresh folder holding the same full
// Quarrow.ini, each closed by a close request before the next start. The
// working set is read the moment each is shown and idle; the clocked builds
// of both, started in the same rounds, say where the time goes.
#include <map>
#include <utility>

#include "BarHarness.h"
#include "Bench.h"
#include "MeasurementSettings.h"
#include "Probe.h"

namespace perf {
namespace {

constexpr double kWorkingSetAllowanceKb = 2048;  // over the floor that imports the same libraries

struct Contender {
  Contender(std::string label, std::string exe, bool clocked = false)
      : label(std::move(label)), exe(std::move(exe)), clocked(clocked) {}
  std::string label;
  std::string exe;
  bool clocked;
  RoundSamples shown, inputIdle, visible;
  RoundSamples workingSetKb, committedKb;
  // Clocked builds: each step's marks by round, and the steps in the order
  // the program made them.
  struct StepMarks {
    RoundSamples at, resumed, workingSetKb, committedKb;
  };
  std::map<std::string, StepMarks> marks;
  std::vector<std::string> steps;
  std::map<std::string, double> modules;  // loaded at the first measured start, KB each
};

void Record(Contender& contender, int round, const StartTiming& timing, const Footprint& footprint,
            const std::vector<ClockMark>& marks) {
  contender.shown[round] = timing.shownMs;
  contender.inputIdle[round] = timing.inputIdleMs;
  contender.visible[round] = timing.visibleMs;
  contender.workingSetKb[round] = footprint.workingSetKb;
  contender.committedKb[round] = footprint.committedPrivateKb;
  for (const ClockMark& mark : marks) {
    if (!contender.marks.count(mark.step)) contender.steps.push_back(mark.step);
    Contender::StepMarks& step = contender.marks[mark.step];
    step.at[round] = mark.ms;
    step.resumed[round] = mark.resumedMs;
    step.workingSetKb[round] = mark.workingSetKb;
    step.committedKb[round] = mark.committedKb;
  }
}

// One start, measured and closed; an empty failure when all went right.
std::string StartOnce(Contender& contender, int round, bool withSettings) {
  std::string folder = NewTempFolder("perf-start");
  if (withSettings) WriteFileBytes(folder + "\\Quarrow.ini", MeasurementSettings());
  std::string failure;
  {
    StartedProgram program;
    StartTiming timing = program.Start(contender.exe, folder);
    std::optional<Footprint> footprint;
    if (timing.ok) footprint = SampleFootprint(program.ProcessId(), contender.exe);
    if (timing.ok && contender.modules.empty()) contender.modules = LoadedModules(program.ProcessId());
    if (!timing.ok) failure = timing.failure;
    else if (!footprint) failure = "its memory could not be read";
    if (!program.Close()) failure = "did not end on a close request";
    std::vector<ClockMark> marks = contender.clocked ? ReadClockMarks(folder, timing.startMs) : std::vector<ClockMark>{};
    if (failure.empty() && contender.clocked && marks.empty()) failure = "wrote no marks";
    if (failure.empty() && round >= 0) Record(contender, round, timing, *footprint, marks);
  }
  RemoveFolder(folder);
  PumpingSleep(250);  // let the session settle (notification area, file cache)
  return failure;
}

// A clocked program's start, step by step: each step's own time (the median
// of the round-by-round differences between its mark and the end of the one
// before, reading the memory left out), its time since CreateProcess, and the
// working set and committed private memory at its end, with what the step
// added to them; then the rest up to "shown and idle".
void ReportSteps(Report& report, const Contender& c) {
  report.Line("");
  report.Line("| " + c.label + ": step (ends at the mark) | ms | q1 - q3 | at ms | working set KB | +KB |"
              " committed KB | +KB |");
  report.Line("|---|---|---|---|---|---|---|---|");
  const Contender::StepMarks* previous = nullptr;  // none: CreateProcess, at 0, no memory yet
  for (const std::string& step : c.steps) {
    const Contender::StepMarks& m = c.marks.at(step);
    Summary own = Summarize(previous ? PairedDifferences(m.at, previous->resumed) : Values(m.at));
    double workingSet = Median(Values(m.workingSetKb)), committed = Median(Values(m.committedKb));
    double addedWs = previous ? Median(PairedDifferences(m.workingSetKb, previous->workingSetKb)) : workingSet;
    double addedCommit = previous ? Median(PairedDifferences(m.committedKb, previous->committedKb)) : committed;
    report.Line(Format("| %s | %.1f | %.1f - %.1f | %.1f | %.0f | %+.0f | %.0f | %+.0f |", step.c_str(), own.median,
                       own.q1, own.q3, Median(Values(m.at)), workingSet, addedWs, committed, addedCommit));
    previous = &m;
  }
  if (!previous) return;
  Summary rest = Summarize(PairedDifferences(c.shown, previous->resumed));
  report.Line(Format("| shown, painted and idle (the driver's moment) | %.1f | %.1f - %.1f | %.1f | %.0f | | %.0f | |",
                     rest.median, rest.q1, rest.q3, Median(Values(c.shown)), Median(Values(c.workingSetKb)),
                     Median(Values(c.committedKb))));
}

// `tag` ends the names of the results ("" or "_no_settings").
void ReportMemory(Report& report, const std::vector<Contender>& contenders, const std::string& tag) {
  report.Line("");
  report.Line("| the moment it is shown and idle | working set KB | committed private KB |");
  report.Line("|---|---|---|");
  for (const Contender& c : contenders) {
    report.Line(Format("| %s | %.0f | %.0f |", c.label.c_str(), Median(Values(c.workingSetKb)),
                       Median(Values(c.committedKb))));
  }
  const Contender& quarrow = contenders[0];
  const Contender& floorImports = contenders[2];
  double over = Median(PairedDifferences(quarrow.workingSetKb, floorImports.workingSetKb));
  report.Line(Format("Working set of Quarrow.exe over floor-imports.exe: %.0f KB (median of the rounds' differences)",
                     over));
  std::string extra;
  for (const auto& [name, kb] : quarrow.modules) {
    if (!floorImports.modules.count(name)) extra += Format(" %s (%.0f KB)", name.c_str(), kb);
  }
  report.Line(Format("Libraries loaded: Quarrow.exe %zu, floor-imports.exe %zu; only in Quarrow.exe:%s",
                     quarrow.modules.size(), floorImports.modules.size(), extra.empty() ? " none" : extra.c_str()));
  report.Result("startup_working_set_quarrow" + tag, Median(Values(quarrow.workingSetKb)), "KB");
  report.Result("startup_working_set_floor_imports" + tag, Median(Values(floorImports.workingSetKb)), "KB");
  report.Result("startup_working_set_over_floor_imports" + tag, over, "KB", Format("<=%.0f", kWorkingSetAllowanceKb),
                over <= kWorkingSetAllowanceKb);
}

void ReportRatio(Report& report, const Contender& quarrow, const Contender& floor, const Contender& floorImports,
                 const std::string& tag, double target) {
  double quarrowMedian = Median(Values(quarrow.shown));
  double floorMedian = Median(Values(floor.shown));
  double ratio = quarrowMedian / floorMedian;
  Summary paired = Summarize(PairedRatios(quarrow.shown, floor.shown));
  report.Line(Format("Quarrow/floor: ratio of the medians %.2f; per round %.2f (q1-q3 %.2f-%.2f, n=%zu)", ratio,
                     paired.median, paired.q1, paired.q3, paired.count));
  std::string bound = Format("<=%.2f", target);
  report.Result("startup_quarrow_median" + tag, quarrowMedian, "ms");
  report.Result("startup_floor_median" + tag, floorMedian, "ms");
  report.Result("startup_floor_imports_median" + tag, Median(Values(floorImports.shown)), "ms");
  report.Result("startup_quarrow_iqr" + tag, Summarize(Values(quarrow.shown)).Spread(), "ms");
  report.Result("startup_floor_iqr" + tag, Summarize(Values(floor.shown)).Spread(), "ms");
  report.Result("startup_ratio_quarrow_floor" + tag, ratio, "x", bound, ratio <= target);
  report.Result("startup_ratio_quarrow_floor_per_round" + tag, paired.median, "x", bound, paired.median <= target);
}

}  // namespace

void MeasureStartup(Report& report, int runs, int warmups, const std::vector<std::string>& others,
                    bool withSettings) {
  // Without a settings file the bar starts on its defaults, and has less to
  // do than with the full file: a tighter bound.
  std::string tag = withSettings ? "" : "_no_settings";
  double target = withSettings ? 1.25 : 1.15;
  std::string bin = BinFolder();
  std::vector<Contender> contenders = {
      {"Quarrow.exe", bin + "\\Quarrow.exe"},
      {"floor.exe", bin + "\\floor.exe"},
      // Not the floor: the floor that also imports Quarrow's system libraries.
      {"floor-imports.exe", bin + "\\floor-imports.exe"},
      {"Quarrow-clocked.exe", bin + "\\Quarrow-clocked.exe", true},
      {"floor-clocked.exe", bin + "\\floor-clocked.exe", true},
  };
  // Other builds to compare in the same rounds (a change tried out).
  for (const std::string& other : others) contenders.push_back({other, bin + "\\" + other});

  report.Heading(Format("Start-up %s (%d rounds; each round starts every program once, in turn;"
                        " %d rounds unmeasured first)",
                        withSettings ? "with the full settings file" : "with no settings file", runs, warmups));
  report.Line("From just before CreateProcess until WaitForInputIdle has returned, the template-102 window");
  report.Line("is visible, neither it nor a control has anything left to paint, and a sent WM_NULL is answered.");
  report.Line(Steadiness());
  report.Line("");

  for (int round = -warmups; round < runs; ++round) {
    // Each round begins with another program, so that none is always first after a pause.
    size_t first = static_cast<size_t>(round + warmups) % contenders.size();
    for (size_t k = 0; k < contenders.size(); ++k) {
      Contender& contender = contenders[(first + k) % contenders.size()];
      std::string failure = StartOnce(contender, round, withSettings);
      if (!failure.empty()) report.Failure(contender.label + " start: " + failure);
    }
  }

  report.Line(SummaryHeader());
  for (const Contender& c : contenders) report.Line(SummaryRow(c.label + " shown and idle", Summarize(Values(c.shown))));
  for (const Contender& c : contenders) {
    report.Line(SummaryRow(c.label + " WaitForInputIdle returned", Summarize(Values(c.inputIdle))));
    report.Line(SummaryRow(c.label + " first seen visible", Summarize(Values(c.visible))));
  }
  report.Line(Steadiness());
  report.Line("");
  for (const Contender& c : contenders) {
    if (c.shown.empty()) {
      report.Failure("start-up: no successful start of " + c.label);
      return;
    }
  }
  ReportRatio(report, contenders[0], contenders[1], contenders[2], tag, target);
  for (size_t k = 3; k < contenders.size(); ++k) {
    const Contender& other = contenders[k];
    Summary againstQuarrow = Summarize(PairedRatios(other.shown, contenders[0].shown));
    report.Line(Format("%s: median %.1f ms; per round against Quarrow.exe %.3f (q1-q3 %.3f-%.3f), against the floor %.2f",
                       other.label.c_str(), Median(Values(other.shown)), againstQuarrow.median, againstQuarrow.q1,
                       againstQuarrow.q3, Median(PairedRatios(other.shown, contenders[1].shown))));
    report.Result("startup_" + other.label + "_median" + tag, Median(Values(other.shown)), "ms");
  }
  ReportMemory(report, contenders, tag);
  for (const Contender& c : contenders) {
    if (c.clocked) ReportSteps(report, c);
  }
}

}  // namespace perf
