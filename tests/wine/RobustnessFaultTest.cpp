// Faults from outside: a settings file the program cannot write, its folder
// gone, and the process killed while it saves. (A second start on one settings file:
// SecondStartTest.cpp.)
#include <gtest/gtest.h>

#include <cstdio>

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "DesktopHarness.h"
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


// The name of the bar's folder, which the notification's path holds.
std::string FolderName(const BarProcess& bar) { return bar.Folder().substr(bar.Folder().rfind('\\') + 1); }

const char* const kInUseReason = "文件正被另一个程序使用。";

}  // namespace

// A virus scanner's or a backup's look at the file: held for a second while
// the bar saves. The save is tried again and arrives after the hold; the user
// hears nothing.
TEST(RobustUnwritableSettings, HeldForASecondDuringASaveItArrivesAfterTheHoldUntold) {
  const std::string initial = kEngines + HistorySection({"older"}) + kOptions;
  BarProcess bar(initial);
  ASSERT_TRUE(bar.Started());
  SaveCounter saves(bar.Folder());
  ASSERT_TRUE(saves.Watching());
  {
    FileLock lock(bar.SettingsPath());
    ASSERT_TRUE(lock.Held());
    bar.SetQuery("held a moment");
    bar.Click(IDC_SEARCH);
    ASSERT_TRUE(WaitFor([&] { return saves.Count() >= 1; }, 4000, 50)) << "no save began";
    Sleep(1000);
    EXPECT_EQ(ReadFileBytes(bar.SettingsPath()), initial);
  }
  const std::string saved = kEngines + HistorySection({"held a moment", "older"}) + kOptions;
  EXPECT_TRUE(WaitFor([&] { return bar.SettingsBytes() == saved; }, 3000, 50)) << bar.SettingsBytes();
  EXPECT_GE(saves.Count(), 2) << "tried again after the hold";
  EXPECT_TRUE(BalloonsSeen(FolderName(bar), 4000).empty()) << "nothing to tell";
  EXPECT_TRUE(FilesIn(bar.Folder(), "*.tmp").empty());
  ASSERT_EQ(bar.Exit(), 0u);
}

// Held for good: the file stays as it was, no new file is left beside it, and
// the user is told once, by a balloon from the notification icon, which file
// and why, however many saves fail after. Nothing is lost: the engine a
// dialog added, the picture chosen and the searches are kept in memory and
// all reach the file once it is free again.
TEST(RobustUnwritableSettings, HeldForGoodTheUserIsToldOnceAndNothingIsLost) {
  const std::string initial = kEngines + HistorySection({"older"}) + kOptions;
  BarProcess bar(initial);
  ASSERT_TRUE(bar.Started());
  {
    FileLock lock(bar.SettingsPath());
    ASSERT_TRUE(lock.Held());
    ASSERT_FALSE(Writable(bar.SettingsPath())) << "the lock must keep writers out";

    AddEngineWithTheDialog(bar, "owed");
    EXPECT_EQ(bar.Text(IDC_SEARCH), "kept");
    EXPECT_EQ(desktop_test::MenuOfButton(bar, IDC_ENGINE_BUTTON),
              (std::vector<std::string>{"kept", "second", "", "增加"}))
        << "the menu shows the file as it is";
    ChoosePictureThree(bar);
    bar.SetQuery("while locked");
    bar.Click(IDC_SEARCH);
    std::vector<Balloon> told;
    ASSERT_TRUE(WaitFor([&] { return !(told = BalloonsShown(FolderName(bar))).empty(); }, 8000, 100))
        << "the user was not told";
    EXPECT_TRUE(WaitFor([&] { return ShowsWarningIcon(told[0].window); }, 2000, 100)) << "a warning";
    EXPECT_NE(told[0].text.find(bar.SettingsPath()), std::string::npos) << told[0].text;
    EXPECT_NE(told[0].text.find(kInUseReason), std::string::npos) << told[0].text;

    // Another round of tries fails as well: not told again.
    bar.SetQuery("again while locked");
    bar.Click(IDC_SEARCH);
    std::vector<Balloon> later = BalloonsSeen(FolderName(bar), 6000);
    for (const Balloon& balloon : later) EXPECT_EQ(balloon.window, told[0].window) << "told twice";

    EXPECT_TRUE(Responsive(bar));
    EXPECT_TRUE(OtherVisibleWindows(bar.ProcessId(), bar.Bar()).empty()) << "no message box while running";
    EXPECT_EQ(ReadFileBytes(bar.SettingsPath()), initial);
    EXPECT_TRUE(FilesIn(bar.Folder(), "*.tmp").empty());
  }
  bar.SetQuery("after");
  bar.Click(IDC_SEARCH);
  EXPECT_TRUE(WaitFor([&] { return ReadKey(bar.SettingsPath(), "History", "H0") == "after"; }, 4000, 50));
  EXPECT_EQ(ReadKey(bar.SettingsPath(), "Engine", "E2"), "owed");
  EXPECT_EQ(ReadKey(bar.SettingsPath(), "Setting", "ImgNumber"), "3");
  EXPECT_EQ(ReadKey(bar.SettingsPath(), "History", "H1"), "again while locked");
  EXPECT_EQ(ReadKey(bar.SettingsPath(), "History", "H2"), "while locked");
  EXPECT_EQ(ReadKey(bar.SettingsPath(), "History", "H3"), "older");
  EXPECT_EQ(desktop_test::MenuOfButton(bar, IDC_ENGINE_BUTTON),
            (std::vector<std::string>{"kept", "second", "owed", "", "增加"}))
      << "read again once the engine is in the file";
  EXPECT_TRUE(MalformedLines(bar.SettingsBytes()).empty());
  ASSERT_EQ(bar.Exit(), 0u);
  EXPECT_TRUE(FilesIn(bar.Folder(), "*.tmp").empty());
}

// Locked through the exit (or a close): the bar tries for a moment, then asks
// with Retry and Cancel. Cancel ends it without saving, the file as it was;
// Retry tries again, and asks again while the file stays held.
TEST(RobustUnwritableSettings, LockedThroughTheEndTheUserChoosesRetryOrCancel) {
  struct Case {
    const char* name;
    UINT end;                  // WM_CLOSE, or the exit command
    std::vector<int> answers;  // the buttons, in turn
    bool releaseFirst;         // the lock goes before the last answer
    bool saved;
  } cases[] = {
      {"exit, Cancel", WM_COMMAND, {IDCANCEL}, false, false},
      {"close, Cancel", WM_CLOSE, {IDCANCEL}, false, false},
      {"exit, Retry while held, then Cancel", WM_COMMAND, {IDRETRY, IDCANCEL}, false, false},
      {"exit, the file let go, Retry", WM_COMMAND, {IDRETRY}, true, true},
  };
  const std::string initial = kEngines + HistorySection({"older"}) + kOptions;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BarProcess bar(initial);
    ASSERT_TRUE(bar.Started());
    auto lock = std::make_unique<FileLock>(bar.SettingsPath());
    ASSERT_TRUE(lock->Held());
    bar.SetQuery("at the end");
    bar.Click(IDC_SEARCH);
    const DWORD start = GetTickCount();
    PostMessageW(bar.Bar(), c.end, c.end == WM_COMMAND ? MAKEWPARAM(ID_APP_EXIT, 0) : 0, 0);
    for (size_t i = 0; i < c.answers.size(); ++i) {
      std::optional<MessageBoxSeen> box = WaitForSaveQuestion(bar);
      ASSERT_TRUE(box) << "asked " << i;
      if (i == 0) printf("[ robust   ] held through the end: asked after %lu ms\n", GetTickCount() - start);
      EXPECT_NE(box->text.find(bar.SettingsPath()), std::string::npos) << box->text;
      EXPECT_NE(box->text.find(kInUseReason), std::string::npos) << box->text;
      EXPECT_FALSE(bar.WaitForExit(0)) << "it waits for the answer";
      if (c.releaseFirst && i + 1 == c.answers.size()) lock.reset();
      AnswerSaveQuestion(*box, c.answers[i]);
      if (i + 1 < c.answers.size()) {
        ASSERT_TRUE(WaitUntilGone(box->window));
      }
    }
    EXPECT_EQ(bar.ExitCode(6000), 0u);
    lock.reset();
    EXPECT_EQ(bar.SettingsBytes(),
              c.saved ? kEngines + HistorySection({"at the end", "older"}) + kOptions : initial);
    EXPECT_TRUE(FilesIn(bar.Folder(), "*.tmp").empty());
  }
}

// The read-only attribute is the user's way to freeze the settings: the
// program leaves such a file alone, as Windows' profile functions do (Wine's,
// run as root, would write it), and says nothing about it, running or at exit.
TEST(RobustUnwritableSettings, ReadOnlyIsLeftAloneQuietly) {
  const std::string initial = kEngines + HistorySection({"older"}) + kOptions;
  BarProcess bar(initial);
  ASSERT_TRUE(bar.Started());
  ASSERT_TRUE(SetFileAttributesW(Wide(bar.SettingsPath()).c_str(), FILE_ATTRIBUTE_READONLY));
  bar.SetQuery("q");
  bar.Click(IDC_SEARCH);
  EXPECT_TRUE(BalloonsSeen(FolderName(bar), 4000).empty());
  const DWORD start = GetTickCount();
  EXPECT_EQ(bar.Exit(), 0u);
  EXPECT_LT(GetTickCount() - start, 2000u) << "no tries, no question";
  EXPECT_TRUE(MalformedLines(bar.SettingsBytes()).empty());
  EXPECT_TRUE(FilesIn(bar.Folder(), "*.tmp").empty());
  SetFileAttributesW(Wide(bar.SettingsPath()).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(bar.SettingsBytes(), initial);
}

// The folder of the settings file taken away while the bar runs (a removable
// drive pulled, a share gone): the save fails, the user is told, nothing
// breaks; once the folder is back, the next save writes it, the searches made
// meanwhile included. (Wine lets the folder that holds the bar's folder be
// renamed while the bar works in it, which Windows refuses: the saves then
// find no folder, as after a drive is pulled.)
TEST(RobustSettingsFolder, GoneWhileTheBarRunsToldThenSavedWhenBack) {
  const std::string initial = kEngines + HistorySection({"older"}) + kOptions;
  ScratchFolder outer("gone");
  const std::string outerName = outer.Path().substr(outer.Path().rfind('\\') + 1);
  ASSERT_TRUE(CreateDirectoryW(Wide(outer.Path() + "\\settings").c_str(), nullptr));
  BarProcess bar(BarProcess::InFolder{outer.Path() + "\\settings"}, initial);
  ASSERT_TRUE(bar.Started());
  const std::string away = outer.Path() + "-away";
  ASSERT_TRUE(MoveFileW(Wide(outer.Path()).c_str(), Wide(away).c_str())) << "error " << GetLastError();
  bar.SetQuery("while gone");
  bar.Click(IDC_SEARCH);
  std::vector<Balloon> told;
  EXPECT_TRUE(WaitFor([&] { return !(told = BalloonsShown(outerName)).empty(); }, 6000, 100))
      << "the user was not told";
  if (!told.empty()) {
    EXPECT_NE(told[0].text.find("找不到文件所在的文件夹。"), std::string::npos) << told[0].text;
    EXPECT_NE(told[0].text.find(bar.SettingsPath()), std::string::npos) << told[0].text;
  }
  EXPECT_TRUE(Responsive(bar));
  EXPECT_EQ(GetFileAttributesW(Wide(outer.Path()).c_str()), INVALID_FILE_ATTRIBUTES) << "made again";
  ASSERT_TRUE(MoveFileW(Wide(away).c_str(), Wide(outer.Path()).c_str())) << "error " << GetLastError();
  bar.SetQuery("back");
  bar.Click(IDC_SEARCH);
  const std::string saved = kEngines + HistorySection({"back", "while gone", "older"}) + kOptions;
  EXPECT_TRUE(WaitFor([&] { return bar.SettingsBytes() == saved; }, 4000, 50)) << bar.SettingsBytes();
  EXPECT_EQ(bar.Exit(), 0u);
  EXPECT_TRUE(FilesIn(bar.Folder(), "*.tmp").empty());
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
