// Quarrow started again: on the same settings file (the same current folder)
// the running bar comes forward, out of its edge, its query box focused, and
// the new start ends, so that no second copy writes over the first one's
// history; in another folder a second bar runs beside the first. Also the
// installer's close helper: the copies running from one folder are asked to
// exit, and save as at any exit.
#include <gtest/gtest.h>

#include <string>

#include "DesktopHarness.h"
#include "install/win/RunningCopies.h"
#include "resource.h"

using namespace desktop_test;

namespace {

// Starts Quarrow.exe in `folder` (any characters) and waits up to `ms` for it
// to end; its exit code, or STILL_ACTIVE (then it is ended).
DWORD StartAgainIn(const std::wstring& folder, DWORD ms = 15000) {
  PROCESS_INFORMATION process{};
  if (!StartProgram("Quarrow.exe", "", 0, Utf8(folder).c_str(), process)) {
    ADD_FAILURE() << "Quarrow.exe did not start";
    return STILL_ACTIVE;
  }
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process.hProcess, ms) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &code);
  } else {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

size_t QuarrowsRunning() { return CopiesRunningFrom(Wide(ProgramFolder())).size(); }

bool QueryBoxHasFocus(const BarProcess& bar) {
  return WaitFor([&] {
    HWND focus = FocusOf(bar.Bar());
    return focus && (focus == bar.Item(IDC_QUERY) || IsChild(bar.Item(IDC_QUERY), focus));
  });
}

class SecondStart : public ::testing::Test {
 protected:
  void TearDown() override { HideTestWindow(); }
};

}  // namespace

TEST_F(SecondStart, ShowsTheHiddenBarInFrontWithItsQueryBoxFocusedAndEnds) {
  BarProcess bar(HistorySection({"kept"}));
  ASSERT_TRUE(bar.Started());
  for (bool hidden : {true, false}) {
    SCOPED_TRACE(hidden ? "hidden" : "shown behind another window");
    if (hidden) {
      bar.Command(ID_HIDE_BAR);
      ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(bar.Bar()); }));
    }
    FocusTestWindow();
    ASSERT_NE(GetForegroundWindow(), bar.Bar());

    EXPECT_EQ(StartAgainIn(Wide(bar.Folder())), 0u);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(bar.Bar()) != FALSE; }));
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == bar.Bar(); }));
    EXPECT_TRUE(QueryBoxHasFocus(bar));
    EXPECT_EQ(QuarrowsRunning(), 1u);
    EXPECT_FALSE(bar.WaitForExit(100));
  }
}

TEST_F(SecondStart, BringsARetractedBarOutOfItsEdge) {
  const int edgeInset = GetSystemMetrics(SM_CYEDGE);
  const int peek = GetSystemMetrics(SM_CXFRAME);
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  DragBar(bar, {640, 10});
  MoveMouse(640, 11);
  MoveMouse(640, 400);
  ASSERT_TRUE(WaitForRect(bar, [&](const RECT& r) { return r.bottom == peek; }));

  FocusTestWindow();
  EXPECT_EQ(StartAgainIn(Wide(bar.Folder())), 0u);
  EXPECT_TRUE(WaitForRect(bar, [&](const RECT& r) { return r.top == -edgeInset; }))
      << Describe(WindowRect(bar.Bar()));
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == bar.Bar(); }));
  EXPECT_TRUE(QueryBoxHasFocus(bar));
  // As after the hotkey: it stays out until the mouse has been on it.
  Pause(600);
  EXPECT_EQ(WindowRect(bar.Bar()).top, -edgeInset);
  EXPECT_EQ(QuarrowsRunning(), 1u);
}

// The failure this mends: two copies on one file, and the one that exited
// last wrote its history over the other's.
TEST_F(SecondStart, LeavesTheRunningBarsHistoryWhole) {
  BarProcess bar(HistorySection({"old"}));
  ASSERT_TRUE(bar.Started());
  bar.SetQuery("new");
  bar.Click(IDC_SEARCH);
  ASSERT_EQ(bar.WaitForLaunches(1).size(), 1u);
  EXPECT_EQ(StartAgainIn(Wide(bar.Folder())), 0u);
  ASSERT_EQ(bar.Exit(), 0u);
  EXPECT_EQ(ReadKey(bar.SettingsPath(), "History", "H0"), "new");
  EXPECT_EQ(ReadKey(bar.SettingsPath(), "History", "H1"), "old");
}

TEST_F(SecondStart, InAnotherFolderRunsASecondBar) {
  BarProcess first;
  ASSERT_TRUE(first.Started());
  BarProcess second;  // a folder of its own
  ASSERT_TRUE(second.Started());
  EXPECT_NE(first.Bar(), second.Bar());
  EXPECT_EQ(QuarrowsRunning(), 2u);
  // Each answers a start in its own folder, and only that one.
  second.Command(ID_HIDE_BAR);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(second.Bar()); }));
  EXPECT_EQ(StartAgainIn(Wide(first.Folder())), 0u);
  Pause(300);
  EXPECT_FALSE(IsWindowVisible(second.Bar()));
  EXPECT_EQ(StartAgainIn(Wide(second.Folder())), 0u);
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(second.Bar()) != FALSE; }));
  EXPECT_EQ(QuarrowsRunning(), 2u);
}

// Folder names with blanks, Chinese, and characters no ANSI code page holds.
// The bar starts in each and a second start there finds it. (Quarrow.ini is
// looked for here in the first two; that a folder named in any script holds
// it is CurrentDirectorySettingsFile.AFolderNamedInAnyScriptHoldsTheFile.)
TEST_F(SecondStart, WorksInFoldersWithBlanksChineseAndCharactersOutsideGbk) {
  struct Case { std::wstring name; bool gbk; } cases[] = {
      {L"with blanks  in it", true},
      {L"网页 搜索", true},
      {L"𠮷 한글 Ωμέγα", false},
  };
  for (const Case& c : cases) {
    const std::wstring folder = Wide(NewTempFolder("names")) + L"\\" + c.name;
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(StartProgram("Quarrow.exe", "", 0, Utf8(folder).c_str(), process));
    HWND bar = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (bar = FindBar(process.dwProcessId)) != nullptr; }, 10000, 50));
    if (bar) {
      EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(bar) != FALSE; }));
      SendMessageW(bar, WM_COMMAND, ID_HIDE_BAR, 0);
      EXPECT_FALSE(IsWindowVisible(bar));
      EXPECT_EQ(StartAgainIn(folder), 0u);
      EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(bar) != FALSE; }));
      PostMessageW(bar, WM_COMMAND, ID_APP_EXIT, 0);
    }
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (c.gbk) {
      EXPECT_NE(GetFileAttributesW((folder + L"\\Quarrow.ini").c_str()), INVALID_FILE_ATTRIBUTES)
          << Utf8(c.name);
    }
    DeleteFileW((folder + L"\\Quarrow.ini").c_str());
    RemoveDirectoryW(folder.c_str());
    RemoveFolder(Utf8(folder.substr(0, folder.rfind(L'\\'))));
  }
}

// The same folder reached by its short (8.3) name holds the same settings
// file: a start there finds the running bar too.
TEST_F(SecondStart, FindsTheBarThroughTheFoldersShortName) {
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  const std::wstring folder = Wide(bar.Folder());
  wchar_t shortName[MAX_PATH] = {};
  ASSERT_GT(GetShortPathNameW(folder.c_str(), shortName, MAX_PATH), 0u);
  ASSERT_NE(std::wstring(shortName), folder) << "the folder has no other name to reach it by";
  bar.Command(ID_HIDE_BAR);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(bar.Bar()); }));
  EXPECT_EQ(StartAgainIn(shortName), 0u);
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(bar.Bar()) != FALSE; }));
  EXPECT_EQ(QuarrowsRunning(), 1u);
}

// What the installer runs before it changes the program folder.
TEST(CloseHelper, EndsTheCopiesRunningFromTheFolderWhichSaveAndLeavesOthers) {
  const std::string elsewhere = NewTempFolder("elsewhere");
  const std::wstring otherExe = Wide(elsewhere) + L"\\Quarrow.exe";
  ASSERT_TRUE(CopyFileW((Wide(ProgramFolder()) + L"\\Quarrow.exe").c_str(), otherExe.c_str(), FALSE));
  PROCESS_INFORMATION other{};
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  ASSERT_TRUE(CreateProcessW(otherExe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, Wide(elsewhere).c_str(),
                             &startup, &other));
  ASSERT_TRUE(WaitFor([&] { return FindBar(other.dwProcessId) != nullptr; }, 10000, 50));
  {
    BarProcess bar(HistorySection({"old"}));
    ASSERT_TRUE(bar.Started());
    bar.SetQuery("typed");
    bar.Click(IDC_SEARCH);
    ASSERT_EQ(bar.WaitForLaunches(1).size(), 1u);
    EXPECT_EQ(CopiesRunningFrom(Wide(ProgramFolder())), std::vector<DWORD>{bar.ProcessId()});
    // The folder as the installer writes it: another case, a final backslash.
    std::wstring folder = Wide(ProgramFolder()) + L"\\";
    for (wchar_t& c : folder) c = towupper(c);
    EXPECT_TRUE(EndCopiesRunningFrom(folder, 10000));
    EXPECT_EQ(bar.ExitCode(0), 0u);
    EXPECT_EQ(ReadKey(bar.SettingsPath(), "History", "H0"), "typed");
    EXPECT_EQ(ReadKey(bar.SettingsPath(), "History", "H1"), "old");
  }
  EXPECT_EQ(WaitForSingleObject(other.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_TRUE(EndCopiesRunningFrom(Wide(elsewhere), 10000));
  EXPECT_EQ(WaitForSingleObject(other.hProcess, 0), WAIT_OBJECT_0);
  CloseHandle(other.hThread);
  CloseHandle(other.hProcess);
  EXPECT_TRUE(WaitFor([&] { return RemoveFolder(elsewhere); }, 3000, 100));
}
