// The start-up's steps as the clocked builds mark them: the marks are read
// right and put against the driver's clock, every step the bar makes is
// marked in order, and the clocked and the floor programs carry exactly
// Quarrow's resources, so that the files compare like for like.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>

#include "BarHarness.h"
#include "Bench.h"
#include "MeasurementSettings.h"
#include "Probe.h"
#include "Steps.h"

namespace {

TEST(Steps, MarksAreReadAgainstTheDriversClock) {
  const double start = perf::CounterToMs(1000000);
  const struct {
    const char* text;
    std::vector<std::string> steps;
    const char* why;
  } cases[] = {
      {"1000000 1000010 20000 6000 WinMain\n1000500 1000600 21000 6100 the dialog's controls made\n",
       {"WinMain", "the dialog's controls made"}, "two marks, a step name with spaces"},
      {"1000000 1000000 1 2 WinMain\r\n", {"WinMain"}, "a line ending in CR LF"},
      {"", {}, "no file: no marks"},
      {"1000000 WinMain\n1 2 3 x4 a\n1 2 3 4\n1 2 3 4 \n5 4 3 2 b\n1 2 3 4  c\n1 2 3 4 d",
       {"d"}, "lines not of the form <counter> <counter after> <KB> <KB> <step> are left out"},
  };
  for (const auto& c : cases) {
    std::vector<perf::ClockMark> marks = perf::ParseClockMarks(c.text, start);
    std::vector<std::string> steps;
    for (const perf::ClockMark& mark : marks) steps.push_back(mark.step);
    EXPECT_EQ(steps, c.steps) << c.why;
  }
  std::vector<perf::ClockMark> two = perf::ParseClockMarks("1000000 1000010 20000 6000 a\n", start);
  ASSERT_EQ(two.size(), 1u);
  EXPECT_DOUBLE_EQ(two[0].ms, 0);
  EXPECT_NEAR(two[0].resumedMs, perf::CounterToMs(1000010) - start, 1e-9);
  EXPECT_EQ(two[0].workingSetKb, 20000);
  EXPECT_EQ(two[0].committedKb, 6000);
}

// A real start of each clocked program: its marks come in the order it made
// them, between the driver's CreateProcess and the moment it was shown.
TEST(Steps, TheClockedProgramsMarkTheirStepsInOrder) {
  const struct {
    const char* exe;
    std::vector<std::string> firstSteps;
    size_t markCount;
  } cases[] = {
      {"Quarrow-clocked.exe", {"WinMain", "OLE initialised"}, 13},
      {"floor-clocked.exe", {"WinMain", "the dialog's controls made"}, 2},
      {"floor-required-clocked.exe", {"WinMain", "OLE initialised"}, 6},
      {"floor-shows-clocked.exe", {"WinMain", "OLE initialised"}, 9},
  };
  for (const auto& c : cases) {
    std::string folder = NewTempFolder("perf-steps-test");
    WriteFileBytes(folder + "\\Quarrow.ini", perf::MeasurementSettings());
    perf::StartTiming timing;
    {
      perf::StartedProgram program;
      timing = program.Start(perf::BinFolder() + "\\" + c.exe, folder);
      EXPECT_TRUE(program.Close()) << c.exe;
    }
    std::vector<perf::ClockMark> marks = perf::ReadClockMarks(folder, timing.startMs);
    RemoveFolder(folder);
    ASSERT_TRUE(timing.ok) << c.exe << ": " << timing.failure;
    ASSERT_EQ(marks.size(), c.markCount) << c.exe;
    EXPECT_EQ(marks[0].step, c.firstSteps[0]) << c.exe;
    EXPECT_EQ(marks[1].step, c.firstSteps[1]) << c.exe;
    EXPECT_GT(marks.front().ms, 0) << c.exe << ": after CreateProcess";
    for (size_t i = 1; i < marks.size(); ++i) {
      EXPECT_GE(marks[i].ms, marks[i - 1].resumedMs) << c.exe << " " << marks[i].step;
      EXPECT_GT(marks[i].workingSetKb, 1000) << c.exe << " " << marks[i].step;
    }
    EXPECT_LE(marks.back().ms, timing.shownMs) << c.exe << ": before it was shown and idle";
  }
}

std::vector<std::string> StepsOf(const char* exe) {
  std::vector<std::string> names;
  std::string folder = NewTempFolder("perf-steps-test");
  perf::StartTiming timing;
  {
    perf::StartedProgram program;
    timing = program.Start(perf::BinFolder() + "\\" + exe, folder);
    EXPECT_TRUE(program.Close()) << exe;
  }
  for (const perf::ClockMark& mark : perf::ReadClockMarks(folder, timing.startMs)) names.push_back(mark.step);
  RemoveFolder(folder);
  return names;
}

// The floors' steps carry the bar's names for the same calls, so that the
// step tables pair: every step of floor-required-clocked and of
// floor-shows-clocked is one that Quarrow-clocked makes too, in the same order.
TEST(Steps, TheFloorsStepsAreTheBarsOwnInTheBarsOrder) {
  const std::vector<std::string> bar = StepsOf("Quarrow-clocked.exe");
  const struct {
    const char* exe;
    size_t steps;
  } floors[] = {{"floor-required-clocked.exe", 6}, {"floor-shows-clocked.exe", 9}};
  for (const auto& floor : floors) {
    SCOPED_TRACE(floor.exe);
    std::vector<std::string> names = StepsOf(floor.exe);
    ASSERT_EQ(names.size(), floor.steps);
    size_t at = 0;  // where the last paired step was found in the bar's list
    for (const std::string& step : names) {
      auto found = std::find(bar.begin() + static_cast<std::ptrdiff_t>(at), bar.end(), step);
      ASSERT_NE(found, bar.end()) << "the floor's step \"" << step << "\" is not the bar's, or out of order";
      at = static_cast<size_t>(found - bar.begin()) + 1;
    }
  }
}

// Pairing the steps by name: a step only the program makes costs all its time
// above the floor, a shared one the difference, one only the floor makes
// counts against the program; the sum is the difference of the two starts.
TEST(Steps, EachStepIsPutAgainstTheFloorsStepOfTheSameName) {
  using perf::StepCost;
  const struct {
    const char* why;
    std::vector<StepCost> program, floor;
    std::vector<std::string> steps;  // the rows, in order
    std::vector<double> aboveMs;
    std::vector<double> aboveKb;
    double totalMs;
  } cases[] = {
      {"shared steps differ; one of the program's own counts whole",
       {{"WinMain", 100, 14000}, {"menus", 3, 10}, {"shown", 30, 1000}},
       {{"WinMain", 90, 13000}, {"shown", 28, 900}},
       {"WinMain", "menus", "shown"}, {10, 3, 2}, {1000, 10, 100}, 15},
      {"a step only the floor makes comes last, against the program",
       {{"WinMain", 100, 0}},
       {{"WinMain", 100, 0}, {"extra", 4, 8}},
       {"WinMain", "extra"}, {0, -4}, {0, -8}, -4},
      {"a faster step of the program is below the floor",
       {{"dialog", 20, 100}},
       {{"dialog", 25, 300}},
       {"dialog"}, {-5}, {-200}, -5},
      {"a name repeated pairs first with first, then second with second",
       {{"paint", 5, 0}, {"paint", 7, 0}},
       {{"paint", 1, 0}, {"paint", 2, 0}},
       {"paint", "paint"}, {4, 5}, {0, 0}, 9},
      {"no floor steps: everything is above", {{"a", 1, 2}}, {}, {"a"}, {1}, {2}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    std::vector<perf::StepAbove> rows = perf::CompareSteps(c.program, c.floor);
    ASSERT_EQ(rows.size(), c.steps.size());
    for (size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(rows[i].step, c.steps[i]);
      EXPECT_DOUBLE_EQ(rows[i].aboveMs, c.aboveMs[i]) << rows[i].step;
      EXPECT_DOUBLE_EQ(rows[i].aboveKb, c.aboveKb[i]) << rows[i].step;
    }
    EXPECT_DOUBLE_EQ(perf::TotalAboveMs(rows), c.totalMs);
  }
  // Which side made a step shows in the columns left empty.
  std::vector<perf::StepAbove> rows = perf::CompareSteps({{"a", 1, 0}, {"b", 2, 0}}, {{"b", 1, 0}, {"c", 3, 0}});
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_TRUE(rows[0].programMs && !rows[0].floorMs);
  EXPECT_TRUE(rows[1].programMs && rows[1].floorMs);
  EXPECT_TRUE(!rows[2].programMs && rows[2].floorMs);
}

struct Resources {
  std::set<std::string> names;  // "type/name"
};

std::string Id(const char* id) {
  if (!IS_INTRESOURCE(id)) return id;
  char number[16];
  snprintf(number, sizeof number, "#%u", static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(id)));
  return number;
}

BOOL CALLBACK CollectName(HMODULE, LPCSTR type, LPSTR name, LONG_PTR param) {
  reinterpret_cast<Resources*>(param)->names.insert(Id(type) + "/" + Id(name));
  return TRUE;
}

BOOL CALLBACK CollectType(HMODULE module, LPSTR type, LONG_PTR param) {
  EnumResourceNamesA(module, type, CollectName, param);
  return TRUE;
}

Resources ResourcesOf(const std::string& file) {
  Resources resources;
  HMODULE module = LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return resources;
  EnumResourceTypesA(module, CollectType, reinterpret_cast<LONG_PTR>(&resources));
  FreeLibrary(module);
  return resources;
}

TEST(Steps, TheFloorsCarryQuarrowsResources) {
  Resources quarrow = ResourcesOf(perf::BinFolder() + "\\Quarrow.exe");
  ASSERT_GT(quarrow.names.size(), 40u);  // templates, menu, icons, thirty pictures, version, manifest
  EXPECT_TRUE(quarrow.names.count("#5/#102")) << "dialog template 102";
  for (const char* floor : {"floor.exe", "floor-imports.exe", "floor-clocked.exe", "floor-required.exe",
                            "floor-required-clocked.exe", "floor-shows.exe", "floor-shows-clocked.exe",
                            "Quarrow-clocked.exe"}) {
    EXPECT_EQ(ResourcesOf(perf::BinFolder() + "\\" + floor).names, quarrow.names) << floor;
  }
}

}  // namespace
