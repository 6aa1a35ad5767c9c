// Faults from outside: a settings file the program cannot write and the
// process killed while it saves. (A second start on one settings file:
// SecondStartTest.cpp.)
#include <gtest/gtest.h>

#include <cstdio>

#include "DialogHarness.h"
#include "RobustnessHarness.h"
#include "resource.h"

using namespace robust;

namespace {

const std::string kEngines = "[Engine]\r\nNumber=2\r\nE0=kept\r\nS0=http://kept.test/?q=\r\nE1=second\r\nS1=http://second.test/?q=\r\n";
const std::string kOptions = "[Setting]\r\nUseIE=0\r\nDoubleClickRight=1\r\nUseImg=1\r\nImgNumber=7\r\n";

std::vector<std::string> Numbered(const std::string& prefix, int count) {
  std::vector<std::string> entries;
  for (int i = 0; i < count; ++i) entries.push_back(prefix + std::to_string(i));
  return entries;
}

// The engine dialog opened from the bar, a row added and closed with OK.
void AddEngineWithTheDialog(const BarProcess& bar, const std::string& name) {
  HWND dialog = OpenDialog(bar, ID_EDIT_ENGINES, "搜索引擎设置");
  ASSERT_NE(dialog, nullptr);
  DialogDriver driver(bar, dialog);
  driver.SetText(IDC_ENGINE_NAME, name);
  driver.SetText(IDC_ENGINE_CODE, "http://" + name + ".test/?q=");
  driver.Click(IDC_ENGINE_ADD);
  ASSERT_TRUE(driver.End(IDOK));
}

// The picture chooser opened, the third picture of page 1 chosen, OK.
void ChoosePictureThree(const BarProcess& bar) {
  HWND dialog = OpenDialog(bar, ID_CHOOSE_PICTURE, "选择背景图片(第一页)");
  ASSERT_NE(dialog, nullptr);
  DialogDriver driver(bar, dialog);
  driver.Click(IDC_PICTURE_RADIO_FIRST + 2);
  ASSERT_TRUE(driver.End(IDOK));
}

}  // namespace

// Held open by another process without write sharing, the file cannot be
// written. The program runs on, reports nothing, and loses exactly what it
// tried to write meanwhile: the engine list of a dialog's OK (its menu, rebuilt
// from the file, shows the old engines), the chosen picture, or the save at
// exit. What it writes once the file is free again arrives.
TEST(RobustUnwritableSettings, WritesRefusedMeanwhileAreLostUnreportedAndLaterOnesArrive) {
  const std::string initial = kEngines + HistorySection({"older"}) + kOptions;
  BarProcess bar(initial);
  ASSERT_TRUE(bar.Started());
  {
    FileLock lock(bar.SettingsPath());
    ASSERT_TRUE(lock.Held());
    ASSERT_FALSE(Writable(bar.SettingsPath())) << "the lock must keep writers out";

    AddEngineWithTheDialog(bar, "lost");
    EXPECT_EQ(bar.Text(IDC_SEARCH), "kept") << "the menu is rebuilt from the unchanged file";
    ChoosePictureThree(bar);
    bar.SetQuery("while locked");
    bar.Click(IDC_SEARCH);
    EXPECT_TRUE(Responsive(bar));
    EXPECT_TRUE(OtherVisibleWindows(bar.ProcessId(), bar.Bar()).empty()) << "nothing is reported";
    EXPECT_EQ(ReadFileBytes(bar.SettingsPath()), initial);
  }
  bar.SetQuery("after");
  bar.Click(IDC_SEARCH);
  ASSERT_EQ(bar.Exit(), 0u);
  EXPECT_EQ(bar.SettingsBytes(),
            kEngines + HistorySection({"after", "while locked", "older"}) + kOptions);
  EXPECT_TRUE(FilesIn(bar.Folder(), "*.tmp").empty());
}

TEST(RobustUnwritableSettings, LockedThroughTheExitTheFileStaysAsItWasAndTheProgramEnds) {
  const std::string initial = kEngines + HistorySection({"older"}) + kOptions;
  BarProcess bar(initial);
  ASSERT_TRUE(bar.Started());
  bar.SetQuery("lost at exit");
  bar.Click(IDC_SEARCH);
  FileLock lock(bar.SettingsPath());
  ASSERT_TRUE(lock.Held());
  DWORD start = GetTickCount();
  EXPECT_EQ(bar.Exit(), 0u);
  EXPECT_LT(GetTickCount() - start, 5000u);
  lock.Release();
  EXPECT_EQ(bar.SettingsBytes(), initial);
  EXPECT_TRUE(FilesIn(bar.Folder(), "*.tmp").empty());
}

// The read-only attribute refuses the writes as the lock above does: the
// program leaves such a file alone, as Windows' profile functions do (Wine's,
// run as root, would write it).
TEST(RobustUnwritableSettings, ReadOnlyAttribute) {
  const std::string initial = kEngines + HistorySection({"older"}) + kOptions;
  BarProcess bar(initial);
  ASSERT_TRUE(bar.Started());
  ASSERT_TRUE(SetFileAttributesW(Wide(bar.SettingsPath()).c_str(), FILE_ATTRIBUTE_READONLY));
  bar.SetQuery("q");
  bar.Click(IDC_SEARCH);
  EXPECT_EQ(bar.Exit(), 0u);
  EXPECT_TRUE(MalformedLines(bar.SettingsBytes()).empty());
  EXPECT_TRUE(FilesIn(bar.Folder(), "*.tmp").empty());
  SetFileAttributesW(Wide(bar.SettingsPath()).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(bar.SettingsBytes(), initial);
}

// Killed at some moment of its save step, the program leaves its settings
// file as it was or as the save makes it, never empty or cut short, and the
// next start works with it. The kill is timed from the first sign of the save
// (a copy of the file appears, or the file changes) plus a delay that grows
// from round to round, so the rounds fall before, in and after the writes.
TEST(RobustKilledWhileSaving, TheFileIsTheOldOrTheNewOneAndTheNextStartWorks) {
  const std::vector<std::string> old = Numbered("old", 100);
  const std::string initial = kEngines + HistorySection(old) + kOptions;
  const int delays[] = {0, 0, 1, 2, 3, 5, 8, 12, 18, 25, 35, 50, 70, 100, 150, 250};
  int sawOld = 0, sawNew = 0;
  for (int delay : delays) {
    SCOPED_TRACE("kill " + std::to_string(delay) + " ms after the save began");
    BarProcess bar(initial);
    ASSERT_TRUE(bar.Started());
    bar.SetQuery("new");
    bar.Click(IDC_SEARCH);
    std::vector<std::string> history{"new"};
    history.insert(history.end(), old.begin(), old.end() - 1);
    const std::string saved = kEngines + HistorySection(history) + kOptions;

    PostMessageW(bar.Bar(), WM_COMMAND, MAKEWPARAM(ID_APP_EXIT, 0), 0);
    WaitFor([&] { return !FilesIn(bar.Folder(), "Quarrow.ini.*").empty() || bar.SettingsBytes() != initial; },
              3000);
    if (delay) Sleep(delay);
    TerminateProcess(bar.ProcessHandle(), 9);
    ASSERT_TRUE(bar.WaitForExit(5000));

    const std::string after = bar.SettingsBytes();
    ASSERT_TRUE(after == initial || after == saved) << "the file after the kill:\n" << after.substr(0, 400);
    (after == initial ? sawOld : sawNew)++;

    // The next start reads it whole and saves over it.
    BarProcess next(after);
    ASSERT_TRUE(next.Started());
    EXPECT_EQ(next.Text(IDC_SEARCH), "kept");
    EXPECT_EQ(next.QueryList().size(), 100u);
    next.SetQuery("next");
    next.Click(IDC_SEARCH);
    EXPECT_EQ(next.Exit(), 0u);
    EXPECT_EQ(ReadKey(next.SettingsPath(), "History", "H0"), "next");
    EXPECT_EQ(ReadKey(next.SettingsPath(), "Engine", "E1"), "second");
  }
  printf("[ robust   ] killed while saving: %d times the old file, %d times the new one\n", sawOld, sawNew);
}

// Two copies on one settings file no longer run side by side (the last to
// exit wrote over the other's history): tests/wine/SecondStartTest.cpp.
