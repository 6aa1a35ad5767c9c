// The start-up's steps as the clocked builds mark them: the marks are read
// right and put against the driver's clock, every step the bar makes is
// marked in order, and the clocked and the floor programs carry exactly
// Quarrow's resources, so that the files compare like for like.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "BarHarness.h"
#include "Bench.h"
#include "MeasurementSettings.h"
#include "Probe.h"

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
      {"Quarrow-clocked.exe", {"WinMain", "OLE initialised"}, 14},
      {"floor-clocked.exe", {"WinMain", "the dialog's controls made"}, 2},
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
  for (const char* floor : {"floor.exe", "floor-imports.exe", "floor-clocked.exe", "Quarrow-clocked.exe"}) {
    EXPECT_EQ(ResourcesOf(perf::BinFolder() + "\\" + floor).names, quarrow.names) << floor;
  }
}

}  // namespace
