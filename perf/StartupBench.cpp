// Start-up: Quarrow.exe against the floor programs (perf/floor.cpp), started
// in turn, each in a fresh folder holding the same full Quarrow.ini (or none),
// each closed by a close request before the next start. The targets are set
// against floor-shows, which makes the registrations the bar must have made
// when it appears and draws what the bar must draw from its settings file
// (the captions and the picture); floor, floor-imports and floor-required are
// measured beside it for comparison. The working set is read the moment each
// is shown and idle; the clocked builds of Quarrow and the floors, started in
// the same rounds, say where the time goes, step by step and above the
// floors' steps.
#include <map>
#include <utility>

#include "BarHarness.h"
#include "Bench.h"
#include "MeasurementSettings.h"
#include "Probe.h"
#include "Steps.h"

namespace perf {
namespace {

constexpr const char* kShownStep = "shown, painted and idle (the driver's moment)";

// The targets, with the full settings file and with none alike: start-up at
// most 1.10 times floor-shows's (1.05 the moonshot, reported but not judged),
// working set when shown at most 0.5 MB over it.
constexpr double kStartupRatioTarget = 1.10;
constexpr double kStartupRatioMoonshot = 1.05;
constexpr double kWorkingSetAllowanceKb = 512;

// The programs of every round, in this order; more (--also) may follow.
enum ContenderIndex : size_t {
  kQuarrow,
  kFloor,
  kFloorImports,
  kFloorRequired,
  kFloorShows,
  kQuarrowClocked,
  kFloorClocked,
  kFloorRequiredClocked,
  kFloorShowsClocked
};

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
std::string StartOnce(Contender& contender, int round, const std::optional<std::string>& settings) {
  std::string folder = NewTempFolder("perf-start");
  if (settings) WriteFileBytes(folder + "\\Quarrow.ini", *settings);
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
std::vector<StepCost> ReportSteps(Report& report, const Contender& c) {
  std::vector<StepCost> costs;
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
    costs.push_back({step, own.median, addedWs});
    previous = &m;
  }
  if (!previous) return costs;
  Summary rest = Summarize(PairedDifferences(c.shown, previous->resumed));
  double restWs = Median(PairedDifferences(c.workingSetKb, previous->workingSetKb));
  report.Line(Format("| %s | %.1f | %.1f - %.1f | %.1f | %.0f | %+.0f | %.0f | |", kShownStep, rest.median, rest.q1,
                     rest.q3, Median(Values(c.shown)), Median(Values(c.workingSetKb)), restWs,
                     Median(Values(c.committedKb))));
  costs.push_back({kShownStep, rest.median, restWs});
  return costs;
}

// Each step of the clocked Quarrow beside the same step of the clocked
// floor-required: what Quarrow spends above the floor, and where.
void ReportStepsAbove(Report& report, const Contender& program, const std::vector<StepCost>& programSteps,
                      const Contender& floor, const std::vector<StepCost>& floorSteps) {
  if (programSteps.empty() || floorSteps.empty()) return;
  std::vector<StepAbove> rows = CompareSteps(programSteps, floorSteps);
  report.Line("");
  report.Line(Format("| step | %s ms | %s ms | above ms | +KB | floor's +KB | above KB |", program.label.c_str(),
                     floor.label.c_str()));
  report.Line("|---|---|---|---|---|---|---|");
  auto cell = [](const std::optional<double>& value, const char* format) {
    return value ? Format(format, *value) : std::string("-");
  };
  for (const StepAbove& row : rows) {
    report.Line(Format("| %s | %s | %s | %+.1f | %s | %s | %+.0f |", row.step.c_str(),
                       cell(row.programMs, "%.1f").c_str(), cell(row.floorMs, "%.1f").c_str(), row.aboveMs,
                       cell(row.programKb, "%+.0f").c_str(), cell(row.floorKb, "%+.0f").c_str(), row.aboveKb));
  }
  report.Line(Format("Steps above the floor's, added up: %+.1f ms; the two programs' medians differ by %+.1f ms"
                     " (per round %+.1f ms).",
                     TotalAboveMs(rows), Median(Values(program.shown)) - Median(Values(floor.shown)),
                     Median(PairedDifferences(program.shown, floor.shown))));
}

// `tag` ends the names of the results ("" or "_no_settings"). Gives the
// working set over floor-shows, the judged figure.
double ReportMemory(Report& report, const std::vector<Contender>& contenders, const std::string& tag) {
  report.Line("");
  report.Line("| the moment it is shown and idle | working set KB | committed private KB |");
  report.Line("|---|---|---|");
  for (const Contender& c : contenders) {
    report.Line(Format("| %s | %.0f | %.0f |", c.label.c_str(), Median(Values(c.workingSetKb)),
                       Median(Values(c.committedKb))));
  }
  const Contender& quarrow = contenders[kQuarrow];
  const Contender& floorImports = contenders[kFloorImports];
  const Contender& floorRequired = contenders[kFloorRequired];
  const Contender& floorShows = contenders[kFloorShows];
  double overImports = Median(PairedDifferences(quarrow.workingSetKb, floorImports.workingSetKb));
  double overRequired = Median(PairedDifferences(quarrow.workingSetKb, floorRequired.workingSetKb));
  double overShows = Median(PairedDifferences(quarrow.workingSetKb, floorShows.workingSetKb));
  double committedOverShows = Median(PairedDifferences(quarrow.committedKb, floorShows.committedKb));
  report.Line(Format("Working set of Quarrow.exe over floor-shows.exe: %.0f KB, over floor-required.exe: %.0f KB,"
                     " over floor-imports.exe: %.0f KB (medians of the rounds' differences); committed private over"
                     " floor-shows.exe: %.0f KB",
                     overShows, overRequired, overImports, committedOverShows));
  for (const Contender* floor : {&floorImports, &floorRequired, &floorShows}) {
    std::string extra;
    for (const auto& [name, kb] : quarrow.modules) {
      if (!floor->modules.count(name)) extra += Format(" %s (%.0f KB)", name.c_str(), kb);
    }
    report.Line(Format("Libraries loaded: Quarrow.exe %zu, %s %zu; only in Quarrow.exe:%s", quarrow.modules.size(),
                       floor->label.c_str(), floor->modules.size(), extra.empty() ? " none" : extra.c_str()));
  }
  report.Result("startup_working_set_quarrow" + tag, Median(Values(quarrow.workingSetKb)), "KB");
  report.Result("startup_working_set_floor_imports" + tag, Median(Values(floorImports.workingSetKb)), "KB");
  report.Result("startup_working_set_floor_required" + tag, Median(Values(floorRequired.workingSetKb)), "KB");
  report.Result("startup_working_set_floor_shows" + tag, Median(Values(floorShows.workingSetKb)), "KB");
  report.Result("startup_working_set_over_floor_imports" + tag, overImports, "KB");
  report.Result("startup_working_set_over_floor_required" + tag, overRequired, "KB");  // the earlier floor
  report.Result("startup_working_set_over_floor_shows" + tag, overShows, "KB", Format("<=%.0f", kWorkingSetAllowanceKb),
                overShows <= kWorkingSetAllowanceKb);
  return overShows;
}

// The judged start-up ratios against floor-shows.
struct StartupVerdict {
  double ratio = 0, perRound = 0;
  double requiredRatio = 0;  // against floor-required, for comparison
};

StartupVerdict ReportRatio(Report& report, const std::vector<Contender>& contenders, const std::string& tag) {
  const Contender& quarrow = contenders[kQuarrow];
  const Contender& required = contenders[kFloorRequired];
  const Contender& shows = contenders[kFloorShows];
  for (const Contender* floor : {&contenders[kFloor], &contenders[kFloorImports], &required, &shows}) {
    Summary paired = Summarize(PairedRatios(quarrow.shown, floor->shown));
    report.Line(Format("Quarrow / %s: ratio of the medians %.2f; per round %.2f (q1-q3 %.2f-%.2f, n=%zu)",
                       floor->label.c_str(), MedianRatio(Values(quarrow.shown), Values(floor->shown)), paired.median,
                       paired.q1, paired.q3, paired.count));
  }
  StartupVerdict verdict;
  verdict.ratio = MedianRatio(Values(quarrow.shown), Values(shows.shown));
  verdict.perRound = Median(PairedRatios(quarrow.shown, shows.shown));
  verdict.requiredRatio = MedianRatio(Values(quarrow.shown), Values(required.shown));
  std::string bound = Format("<=%.2f", kStartupRatioTarget);
  std::string moonshot = Format("<=%.2f", kStartupRatioMoonshot);
  report.Result("startup_quarrow_median" + tag, Median(Values(quarrow.shown)), "ms");
  report.Result("startup_floor_median" + tag, Median(Values(contenders[kFloor].shown)), "ms");
  report.Result("startup_floor_imports_median" + tag, Median(Values(contenders[kFloorImports].shown)), "ms");
  report.Result("startup_floor_required_median" + tag, Median(Values(required.shown)), "ms");
  report.Result("startup_floor_shows_median" + tag, Median(Values(shows.shown)), "ms");
  report.Result("startup_quarrow_iqr" + tag, Summarize(Values(quarrow.shown)).Spread(), "ms");
  report.Result("startup_floor_required_iqr" + tag, Summarize(Values(required.shown)).Spread(), "ms");
  report.Result("startup_floor_shows_iqr" + tag, Summarize(Values(shows.shown)).Spread(), "ms");
  // For comparison with the earlier floors; no target.
  report.Result("startup_ratio_quarrow_floor" + tag, MedianRatio(Values(quarrow.shown), Values(contenders[kFloor].shown)),
                "x");
  report.Result("startup_ratio_quarrow_floor_required" + tag, verdict.requiredRatio, "x");
  report.Result("startup_ratio_quarrow_floor_required_per_round" + tag,
                Median(PairedRatios(quarrow.shown, required.shown)), "x");
  report.Result("startup_ratio_quarrow_floor_shows" + tag, verdict.ratio, "x", bound,
                verdict.ratio <= kStartupRatioTarget);
  report.Result("startup_ratio_quarrow_floor_shows_per_round" + tag, verdict.perRound, "x", bound,
                verdict.perRound <= kStartupRatioTarget);
  report.Moonshot("startup_ratio_quarrow_floor_shows_moonshot" + tag, verdict.ratio, "x", moonshot,
                  verdict.ratio <= kStartupRatioMoonshot);
  return verdict;
}

}  // namespace

void MeasureStartup(Report& report, int runs, int warmups, const std::vector<std::string>& others,
                    bool withSettings, size_t historyBytes, bool picture, bool suggest) {
  std::string tag = !withSettings ? "_no_settings" : historyBytes ? Format("_history_%zu_bytes", historyBytes) : "";
  if (withSettings && !picture) tag += "_colour_look";
  if (withSettings && suggest) tag += "_suggestions_on";
  std::optional<std::string> settings;
  if (withSettings) settings = MeasurementSettings(historyBytes, picture, suggest);
  std::string bin = BinFolder();
  std::vector<Contender> contenders = {
      {"Quarrow.exe", bin + "\\Quarrow.exe"},
      {"floor.exe", bin + "\\floor.exe"},
      {"floor-imports.exe", bin + "\\floor-imports.exe"},
      {"floor-required.exe", bin + "\\floor-required.exe"},
      {"floor-shows.exe", bin + "\\floor-shows.exe"},
      {"Quarrow-clocked.exe", bin + "\\Quarrow-clocked.exe", true},
      {"floor-clocked.exe", bin + "\\floor-clocked.exe", true},
      {"floor-required-clocked.exe", bin + "\\floor-required-clocked.exe", true},
      {"floor-shows-clocked.exe", bin + "\\floor-shows-clocked.exe", true},
  };
  // Other builds to compare in the same rounds (a change tried out).
  for (const std::string& other : others) contenders.push_back({other, bin + "\\" + other});

  std::string file = !withSettings ? "with no settings file"
                     : historyBytes ? Format("with the full settings file, its history entries %zu bytes each", historyBytes)
                                    : "with the full settings file";
  if (withSettings && !picture) file += " in the colour look";
  if (withSettings && suggest) file += ", suggestions on";
  report.Heading(Format("Start-up %s (%d rounds; each round starts every program once, in turn;"
                        " %d rounds unmeasured first)",
                        file.c_str(), runs, warmups));
  report.Line("From just before CreateProcess until WaitForInputIdle has returned, the template-102 window");
  report.Line("is visible, neither it nor a control has anything left to paint, and a sent WM_NULL is answered.");
  report.Line(Steadiness());
  report.Line("");

  for (int round = -warmups; round < runs; ++round) {
    // Each round begins with another program, so that none is always first after a pause.
    size_t first = static_cast<size_t>(round + warmups) % contenders.size();
    for (size_t k = 0; k < contenders.size(); ++k) {
      Contender& contender = contenders[(first + k) % contenders.size()];
      std::string failure = StartOnce(contender, round, settings);
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
  StartupVerdict verdict = ReportRatio(report, contenders, tag);
  for (size_t k = kQuarrowClocked; k < contenders.size(); ++k) {
    const Contender& other = contenders[k];
    Summary againstQuarrow = Summarize(PairedRatios(other.shown, contenders[kQuarrow].shown));
    report.Line(Format("%s: median %.1f ms; per round against Quarrow.exe %.3f (q1-q3 %.3f-%.3f),"
                       " against floor-shows %.2f, against floor-required %.2f",
                       other.label.c_str(), Median(Values(other.shown)), againstQuarrow.median, againstQuarrow.q1,
                       againstQuarrow.q3, Median(PairedRatios(other.shown, contenders[kFloorShows].shown)),
                       Median(PairedRatios(other.shown, contenders[kFloorRequired].shown))));
    report.Result("startup_" + other.label + "_median" + tag, Median(Values(other.shown)), "ms");
  }
  double overShows = ReportMemory(report, contenders, tag);
  double overRequired = Median(PairedDifferences(contenders[kQuarrow].workingSetKb,
                                                 contenders[kFloorRequired].workingSetKb));
  report.Line("");
  report.Line(Format("Verdict %s, Quarrow against floor-shows: start-up %.3f (per round %.3f), target <=%.2f %s,"
                     " moonshot <=%.2f %s; working set when shown %+.0f KB, target <=+%.0f KB %s. Beside it,"
                     " against floor-required: start-up %.3f, working set %+.0f KB.",
                     file.c_str(), verdict.ratio, verdict.perRound, kStartupRatioTarget,
                     verdict.ratio <= kStartupRatioTarget && verdict.perRound <= kStartupRatioTarget ? "met" : "MISSED",
                     kStartupRatioMoonshot, verdict.ratio <= kStartupRatioMoonshot ? "reached" : "not reached",
                     overShows, kWorkingSetAllowanceKb, overShows <= kWorkingSetAllowanceKb ? "met" : "MISSED",
                     verdict.requiredRatio, overRequired));
  std::map<size_t, std::vector<StepCost>> steps;
  for (size_t k = 0; k < contenders.size(); ++k) {
    if (contenders[k].clocked) steps[k] = ReportSteps(report, contenders[k]);
  }
  for (size_t floor : {kFloorShowsClocked, kFloorRequiredClocked}) {
    report.Line("");
    report.Line("What each step of the clocked Quarrow costs above the same step of the clocked " +
                contenders[floor].label + " (medians of each program's own step times):");
    ReportStepsAbove(report, contenders[kQuarrowClocked], steps[kQuarrowClocked], contenders[floor], steps[floor]);
  }
}

}  // namespace perf
