// The start-up's steps, each timed in a fresh process: a step gives a figure
// only when it did what it is named for, and the floor carries exactly
// Quarrow's resources, so that the two files compare like for like.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "BarHarness.h"
#include "Bench.h"
#include "MeasurementSettings.h"

namespace {

class Folder {
 public:
  explicit Folder(bool withSettings) : m_path(NewTempFolder("perf-steps-test")) {
    if (withSettings) WriteFileBytes(m_path + "\\Quarrow.ini", perf::MeasurementSettings());
  }
  ~Folder() { RemoveFolder(m_path); }
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

TEST(Steps, EachStepIsTimedWhereItCanBeMade) {
  Folder folder(true);
  for (const perf::StartupStep& step : perf::StartupSteps()) {
    double ms = perf::TimeStepInFreshProcess(step.name, folder.Path());
    EXPECT_GT(ms, 0) << step.name;
    EXPECT_LT(ms, 10000) << step.name;
  }
}

// Without the settings file the reads return the defaults: not the reads the
// bar makes at a start with a full file, so no figure.
TEST(Steps, AStepThatCannotDoItsWorkGivesNoFigure) {
  Folder empty(false);
  const struct {
    const char* name;
    const char* why;
  } cases[] = {
      {"reads", "no settings file: the values read are the defaults"},
      {"history-keys", "no settings file: nothing read"},
      {"history-section", "no settings file: nothing read"},
      {"no-such-step", "an unknown step"},
  };
  for (const auto& c : cases) EXPECT_LT(perf::TimeStepInFreshProcess(c.name, empty.Path()), 0) << c.why;
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
  for (const char* floor : {"floor.exe", "floor-imports.exe"}) {
    EXPECT_EQ(ResourcesOf(perf::BinFolder() + "\\" + floor).names, quarrow.names) << floor;
  }
}

}  // namespace
