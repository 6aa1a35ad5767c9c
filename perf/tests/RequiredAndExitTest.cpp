// floor-required and floor-shows make the registrations the bar makes, so
// that the bar is measured against a floor that does what it must; and a
// close request is followed rightly: the bar's settings are on disk the
// moment its window is hidden, whatever the bar started with.
#include <gtest/gtest.h>

#include "BarHarness.h"
#include "Bench.h"
#include "MeasurementSettings.h"
#include "Probe.h"

namespace {

using perf::Bin;

// A new empty folder for one test.
struct Folder : ScratchFolder {
  Folder() : ScratchFolder("perf-required-test") {}
};

// What can be seen of the registrations from another process: the window's
// extended style, OLE's drop-target property on it, and the global hotkey,
// which nobody else can register while it is held.
bool SomeoneHoldsTheHotkey() {
  constexpr int kProbeId = 0x7123;
  if (!RegisterHotKey(nullptr, kProbeId, MOD_ALT | MOD_CONTROL, 'S')) return true;
  UnregisterHotKey(nullptr, kProbeId);
  return false;
}

struct Registrations {
  bool topmostToolWindow = false;
  bool dropTarget = false;
  bool holdsHotkey = false;
};

Registrations RegistrationsOf(HWND window) {
  Registrations seen;
  LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  seen.topmostToolWindow = (exStyle & WS_EX_TOPMOST) && (exStyle & WS_EX_TOOLWINDOW) && !(exStyle & WS_EX_APPWINDOW);
  seen.dropTarget = GetPropW(window, L"OleDropTargetInterface") != nullptr;
  seen.holdsHotkey = SomeoneHoldsTheHotkey();
  return seen;
}

TEST(FloorRequired, MakesTheBarsRegistrationsAndTheOtherFloorsNone) {
  const struct {
    const char* exe;
    bool registers;
  } cases[] = {
      {"Quarrow.exe", true},
      {"floor-required.exe", true},
      {"floor-required-clocked.exe", true},
      {"floor-shows.exe", true},
      {"floor-shows-clocked.exe", true},
      {"floor-imports.exe", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.exe);
    Folder folder;
    perf::StartedProgram program;
    perf::StartTiming timing = program.Start(Bin(c.exe), folder.Path());
    ASSERT_TRUE(timing.ok) << timing.failure;
    Registrations seen = RegistrationsOf(program.Window());
    EXPECT_EQ(seen.topmostToolWindow, c.registers);
    EXPECT_EQ(seen.dropTarget, c.registers);
    EXPECT_EQ(seen.holdsHotkey, c.registers);
    EXPECT_TRUE(program.Close());
    EXPECT_FALSE(SomeoneHoldsTheHotkey()) << "the hotkey is released at exit";
  }
}

// A save that ran after the window was hidden would leave the old file (it is
// replaced whole, by a rename) at that moment: a few megabytes of other
// sections make the save long enough to be caught in the act.
TEST(Exit, TheSettingsAreOnDiskTheMomentTheBarsWindowIsHidden) {
  const std::string padding = [] {
    std::string text = "[Elsewhere]\r\n";
    for (int n = 0; text.size() < 3 * 1024 * 1024; ++n) {
      text += "Line" + std::to_string(n) + "=" + std::string(200, 'x') + "\r\n";
    }
    return text;
  }();
  const struct {
    const char* why;
    std::optional<std::string> before;
  } cases[] = {
      {"the full file without UseIE, which the save writes back", perf::SettingsTheSaveChanges()},
      {"the same after three megabytes of another section", padding + perf::SettingsTheSaveChanges()},
      {"no file: the save makes it", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    Folder folder;
    std::string settings = folder.Path() + "\\Quarrow.ini";
    if (c.before) WriteFileBytes(settings, *c.before);
    perf::StartedProgram bar;
    perf::StartTiming timing = bar.Start(Bin("Quarrow.exe"), folder.Path());
    ASSERT_TRUE(timing.ok) << timing.failure;
    perf::ExitTiming exit = bar.CloseWatched(settings);
    ASSERT_TRUE(exit.ok) << exit.failure;
    EXPECT_LE(exit.hiddenMs, exit.destroyedMs);
    EXPECT_LE(exit.destroyedMs, exit.endedMs);
    std::string after = ReadFileBytes(settings);
    ASSERT_NE(std::optional<std::string>(after), c.before) << "the save changed nothing: the order cannot be told";
    ASSERT_TRUE(exit.fileAtHidden.has_value()) << "no Quarrow.ini when the window was hidden";
    EXPECT_EQ(exit.fileAtHidden->size(), after.size());
    EXPECT_TRUE(*exit.fileAtHidden == after) << "Quarrow.ini changed after the window was hidden";
  }
}

// The watch itself: a program that saves nothing leaves the file as it was,
// and a window that is gone is seen hidden, destroyed and ended in that order.
TEST(Exit, AFloorsCloseIsFollowedToItsEnd) {
  Folder folder;
  std::string settings = folder.Path() + "\\Quarrow.ini";
  WriteFileBytes(settings, perf::MeasurementSettings());
  perf::StartedProgram floor;
  ASSERT_TRUE(floor.Start(Bin("floor-required.exe"), folder.Path()).ok);
  perf::ExitTiming exit = floor.CloseWatched(settings);
  ASSERT_TRUE(exit.ok) << exit.failure;
  EXPECT_GT(exit.hiddenMs, 0);
  EXPECT_LE(exit.hiddenMs, exit.destroyedMs);
  EXPECT_LE(exit.destroyedMs, exit.endedMs);
  ASSERT_TRUE(exit.fileAtHidden.has_value());
  EXPECT_EQ(*exit.fileAtHidden, perf::MeasurementSettings());
}

}  // namespace
