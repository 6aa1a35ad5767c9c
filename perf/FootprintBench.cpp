// Footprint: Quarrow's memory, GDI objects and windows after its start, after
// searches for distinct queries (each one a new history entry), after opening
// and closing every dialog many times, and after as many searches that repeat
// queries it already holds (the history keeps its size: a control run).
#include <map>

#include "Bench.h"
#include "BarHarness.h"
#include "DesktopHarness.h"
#include "DialogHarness.h"
#include "MeasurementSettings.h"
#include "Probe.h"
#include "resource.h"

#include <commctrl.h>

namespace perf {
namespace {

// Wine commits heap memory in steps of 64 KB: a growth below one step can
// hide in the last step, and one step can come from a single small block.
constexpr double kCommitStepKb = 64;
// The Linux side grows its heap in steps of about 128 KB (glibc's default
// M_TOP_PAD), and first touches of freed pages count too: two steps.
constexpr double kAnonymousStepsKb = 256;
// What one more history entry may cost: the query in the history's vector,
// its copy in the query box's list (UTF-16 there) and the bookkeeping of both.
constexpr double kHistoryEntryAllowanceBytes = 256;

struct Point {
  std::string label;
  Footprint footprint;
  size_t historyEntries;
};

struct DialogKind {
  int command;
  const char* caption;  // GBK, as the dialog shows it
  const char* name;
  bool hasCancel;
};

const DialogKind kDialogs[] = {
    {ID_OPTIONS, "软件设置", "options", true},
    {ID_CHOOSE_PICTURE, "选择背景图片(第一页)", "picture chooser", true},
    {ID_ABOUT, "关于 Quarrow", "About box", false},
    {ID_EDIT_ENGINES, "搜索引擎设置", "engines", true},
    {ID_EDIT_KEYWORDS_SITES, "关键词(Key)网站(Site)设置", "keywords and sites", true},
};

std::string Count(const std::optional<int>& value) { return value ? std::to_string(*value) : "?"; }

// Searches for `query` with the Search button and waits until the browser
// handler has recorded launch number `launch`.
bool Search(const BarProcess& bar, const std::string& query, size_t launch) {
  bar.SetQuery(query);
  bar.Click(IDC_SEARCH);
  return bar.WaitForLaunches(launch, 15000).size() >= launch;
}

// After the program has had a moment to finish what a close sets off (the
// bar repaints, a menu is rebuilt).
std::optional<int> GdiNow(const BarProcess& bar, DWORD processId) {
  bar.Sync();
  PumpingSleep(150);
  bar.Sync();
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (!process) return std::nullopt;
  std::optional<int> count = desktop_test::GdiObjectCount(process);
  CloseHandle(process);
  return count;
}

INT_PTR CALLBACK QuietDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// The same dialog templates made and destroyed by this process from
// Quarrow.exe's resources, with none of Quarrow's code: what the platform's
// own controls leave behind. Objects left per making, after a first one.
std::map<std::string, int> TemplateOnlyLeftovers(int times) {
  std::map<std::string, int> leftovers;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  std::string exe = BinFolder() + "\\Quarrow.exe";
  HMODULE resources = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!resources) return leftovers;
  const struct {
    int id;
    const char* name;
  } templates[] = {{IDD_OPTIONS, "options"}, {IDD_PICTUREPICKER, "picture chooser"}, {IDD_ABOUT, "About box"},
                   {IDD_ENGINES, "engines"}, {IDD_KEYSITES, "keywords and sites"}};
  for (const auto& t : templates) {
    auto makeAndDestroy = [&] {
      HWND dialog = CreateDialogParamA(resources, MAKEINTRESOURCEA(t.id), nullptr, QuietDialog, 0);
      if (dialog) DestroyWindow(dialog);
      return dialog != nullptr;
    };
    if (!makeAndDestroy()) continue;
    std::optional<int> before = desktop_test::GdiObjectCount(GetCurrentProcess());
    for (int i = 0; i < times; ++i) makeAndDestroy();
    std::optional<int> after = desktop_test::GdiObjectCount(GetCurrentProcess());
    if (before && after) leftovers[t.name] = (*after - *before) / times;
  }
  FreeLibrary(resources);
  return leftovers;
}

}  // namespace

void MeasureFootprint(Report& report, int searches, int dialogRounds) {
  report.Heading(Format("Footprint (%d distinct searches, %d dialog openings, %d repeated searches)", searches,
                        dialogRounds * 5, searches));
  if (dialogRounds < 2) dialogRounds = 2;
  BarProcess bar(MeasurementSettings());
  if (!bar.Started()) {
    report.Failure("footprint: Quarrow did not start");
    return;
  }
  PumpingSleep(1000);
  const std::string exe = BinFolder() + "\\Quarrow.exe";
  std::vector<Point> points;
  auto sample = [&](const std::string& label) {
    bar.Sync();
    PumpingSleep(500);
    std::optional<Footprint> footprint = SampleFootprint(bar.ProcessId(), exe);
    if (!footprint) {
      report.Failure("footprint: cannot read the process at '" + label + "'");
      return false;
    }
    points.push_back({label, *footprint, bar.QueryList().size()});
    return true;
  };

  if (!sample("after start")) return;
  size_t launches = 0;
  bool searched = Search(bar, MeasuredQuery(0), ++launches);
  if (searched && !sample("after the first search")) return;
  for (int n = 1; searched && n < searches; ++n) searched = Search(bar, MeasuredQuery(n), ++launches);
  if (!searched) {
    report.Failure(Format("footprint: search %zu never reached the browser handler", launches));
    return;
  }
  if (!sample(Format("after %d distinct searches", searches))) return;

  // Rounds of one opening of each dialog. GDI objects each opening leaves
  // behind are kept by dialog; the first openings also make what the system
  // keeps once made, so the steady state is judged on the second half.
  std::map<std::string, std::vector<int>> leftBehind;
  // The same from the second opening on, by dialog and the button that closed
  // it: an opening that leaks leaves objects every time it goes that way,
  // while what the system keeps once made comes now and then and stops.
  std::map<std::string, std::vector<double>> laterByClose;
  const int halfway = dialogRounds / 2;
  for (int round = 0; round < dialogRounds; ++round) {
    for (const DialogKind& kind : kDialogs) {
      std::optional<int> before = GdiNow(bar, bar.ProcessId());
      HWND dialog = OpenDialog(bar, kind.command, kind.caption);
      if (!dialog) {
        report.Failure(std::string("footprint: the ") + kind.name + " dialog did not open");
        return;
      }
      // OK and Cancel in turn; the About box has OK only.
      int button = (round % 2 == 0 || !kind.hasCancel) ? IDOK : IDCANCEL;
      PostMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
      if (!WaitUntilGone(dialog)) {
        report.Failure(std::string("footprint: the ") + kind.name + " dialog did not close");
        return;
      }
      std::optional<int> after = GdiNow(bar, bar.ProcessId());
      if (before && after) {
        leftBehind[kind.name].push_back(*after - *before);
        if (round > 0) {
          laterByClose[std::string(kind.name) + (button == IDOK ? ", OK" : ", Cancel")].push_back(*after - *before);
        }
      }
    }
    if (round == 0 && !sample("after the first 5 dialog openings")) return;
    if (round + 1 == halfway && !sample(Format("after %d dialog openings", 5 * halfway))) return;
  }
  if (!sample(Format("after %d dialog openings", 5 * dialogRounds))) return;

  for (int n = 0; searched && n < searches; ++n) searched = Search(bar, MeasuredQuery(n), ++launches);
  if (!searched) {
    report.Failure("footprint: a repeated search never reached the browser handler");
    return;
  }
  if (!sample(Format("after %d repeated searches", searches))) return;
  report.Line(Steadiness());
  bar.Exit();

  report.Line("| | working set | anonymous resident (Linux) | committed private | PrivateUsage | GDI objects | windows | history |");
  report.Line("|---|---|---|---|---|---|---|---|");
  for (const Point& p : points) {
    const Footprint& f = p.footprint;
    report.Line(Format("| %s | %.0f KB | %s | %.0f KB | %.0f KB | %s | %d | %zu |", p.label.c_str(), f.workingSetKb,
                       f.anonymousResidentKb ? Format("%.0f KB", *f.anonymousResidentKb).c_str() : "?",
                       f.committedPrivateKb, f.privateUsageKb, Count(f.gdiObjects).c_str(), f.windows,
                       p.historyEntries));
  }
  report.Line("");
  std::map<std::string, int> platformOnly = TemplateOnlyLeftovers(10);
  report.Line("GDI objects left behind by each opening, the first one apart; and by the dialog's template alone,");
  report.Line("made and destroyed by the driver with none of Quarrow's code (what the system's controls leave):");
  for (const auto& [name, deltas] : leftBehind) {
    std::string list;
    for (size_t i = 0; i < deltas.size(); ++i) {
      list += (i == 0 ? "first " : i == 1 ? "; then " : " ") + std::to_string(deltas[i]);
    }
    auto alone = platformOnly.find(name);
    report.Line(Format("- %s: %s; template alone: %s", name.c_str(), list.c_str(),
                       alone == platformOnly.end() ? "not measured" : std::to_string(alone->second).c_str()));
  }
  // Judged only where there are three later openings or more.
  int leaking = 0, judged = 0;
  std::string leakingPaths;
  for (const auto& [path, deltas] : laterByClose) {
    if (deltas.size() < 3) continue;
    ++judged;
    leaking += Median(deltas) > 0;
    if (Median(deltas) > 0) leakingPaths += Format("%s%s (median %.0f per opening)", leakingPaths.empty() ? "" : "; ",
                                                  path.c_str(), Median(deltas));
  }
  if (judged == 0) report.Line("(Too few rounds to tell a dialog that leaks from what the system keeps once made.)");
  else report.Line(leaking ? "Openings that leave GDI objects every time: " + leakingPaths
                      : "No dialog leaves GDI objects at a typical opening (median over the later openings, by the "
                        "button that closed it).");
  report.Line("");

  const Point& start = points[0];
  const Point& firstSearch = points[1];
  const Point& distinct = points[2];
  const Point& half = points[4];
  const Point& dialogs = points[5];
  const Point& repeated = points[6];
  const double added = static_cast<double>(distinct.historyEntries - firstSearch.historyEntries);
  const double historyText = added * kHistoryEntryAllowanceBytes / 1024;
  const int laterOpenings = 5 * (dialogRounds - halfway);

  report.Result("footprint_working_set_start", start.footprint.workingSetKb, "KB");
  report.Result("footprint_working_set_end", repeated.footprint.workingSetKb, "KB");
  report.Result("footprint_history_entries_added", added, "entries");

  // Memory growth in three stretches, by both measures of private memory.
  struct Measure {
    const char* name;
    std::optional<double> (*of)(const Footprint&);
    double step;  // the growth one allocation may cause
  };
  const Measure measures[] = {
      {"committed_private", [](const Footprint& f) { return std::optional<double>(f.committedPrivateKb); },
       kCommitStepKb},
      {"anonymous_resident", [](const Footprint& f) { return f.anonymousResidentKb; }, kAnonymousStepsKb},
  };
  for (const Measure& m : measures) {
    auto value = [&](const Point& p) { return m.of(p.footprint); };
    if (!value(start) || !value(firstSearch) || !value(distinct) || !value(half) || !value(dialogs) ||
        !value(repeated)) {
      report.Line(Format("(%s: could not be read at every point)", m.name));
      continue;
    }
    std::string name = m.name;
    report.Result("footprint_" + name + "_start", *value(start), "KB");
    report.Result("footprint_" + name + "_end", *value(repeated), "KB");
    double searchesGrowth = *value(distinct) - *value(firstSearch);
    double allowance = historyText + m.step;
    report.Result("footprint_" + name + "_growth_distinct_searches", searchesGrowth, "KB",
                  Format("<=%.0f", allowance), searchesGrowth <= allowance);
    report.Result("footprint_" + name + "_growth_first_dialog_openings", *value(half) - *value(distinct), "KB");
    double laterGrowth = *value(dialogs) - *value(half);
    report.Result("footprint_" + name + Format("_growth_last_%d_dialog_openings", laterOpenings), laterGrowth, "KB",
                  Format("<=%.0f", m.step), laterGrowth <= m.step);
    double repeatedGrowth = *value(repeated) - *value(dialogs);
    report.Result("footprint_" + name + "_growth_repeated_searches", repeatedGrowth, "KB",
                  Format("<=%.0f", m.step), repeatedGrowth <= m.step);
  }

  auto gdi = [](const Point& p) { return p.footprint.gdiObjects; };
  if (!gdi(start) || !gdi(distinct) || !gdi(half) || !gdi(dialogs) || !gdi(repeated)) {
    report.Failure("footprint: GDI objects could not be counted");
  } else {
    report.Result("footprint_gdi_start", *gdi(start), "objects");
    report.Result("footprint_gdi_growth_searches", *gdi(distinct) - *gdi(start), "objects", "<=0",
                  *gdi(distinct) <= *gdi(start));
    report.Result("footprint_gdi_growth_first_dialog_openings", *gdi(half) - *gdi(distinct), "objects");
    report.Result(Format("footprint_gdi_growth_last_%d_dialog_openings", laterOpenings), *gdi(dialogs) - *gdi(half),
                  "objects");
    if (judged) report.Result("footprint_gdi_dialog_closings_that_leak", leaking, "kinds", "<=0", leaking == 0);
    report.Result("footprint_gdi_growth_repeated_searches", *gdi(repeated) - *gdi(dialogs), "objects", "<=0",
                  *gdi(repeated) <= *gdi(dialogs));
    report.Result("footprint_gdi_end", *gdi(repeated), "objects");
  }
  report.Result("footprint_windows_start", start.footprint.windows, "windows");
  report.Result("footprint_windows_end", repeated.footprint.windows, "windows", "=start",
                repeated.footprint.windows == start.footprint.windows);
}

}  // namespace perf
