// What the bar keeps reaches the settings file within a second or two of a
// change, not only at exit: a process killed two seconds after the change
// leaves it in the file, written as the exit writes it. A burst of changes is
// a few writes, not one each.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "DialogHarness.h"
#include "RobustnessHarness.h"
#include "resource.h"
#include "settings/win/WholeFileSave.h"

using namespace robust;

namespace {

const std::string kEngines = "[Engine]\r\nNumber=1\r\nE0=kept\r\nS0=http://kept.test/?q=\r\n";
const std::string kOptions = "[Setting]\r\nUseIE=0\r\nDoubleClickRight=1\r\nUseImg=1\r\nImgNumber=7\r\n";
const std::string kOptionsColour = "[Setting]\r\nUseIE=0\r\nDoubleClickRight=1\r\nUseImg=0\r\nImgNumber=7\r\n";
const std::string kOptionsPicture3 = "[Setting]\r\nUseIE=0\r\nDoubleClickRight=1\r\nUseImg=1\r\nImgNumber=3\r\n";

std::vector<std::string> Numbered(const std::string& prefix, int count) {
  std::vector<std::string> entries;
  for (int i = 0; i < count; ++i) entries.push_back(prefix + std::to_string(i));
  return entries;
}

// The options dialog: the colour look chosen, OK.
void ChooseColourLook(const BarProcess& bar) {
  HWND dialog = OpenDialog(bar, ID_OPTIONS, "软件设置");
  ASSERT_NE(dialog, nullptr);
  DialogDriver driver(bar, dialog);
  driver.Click(IDC_BACKGROUND_COLOR);
  ASSERT_TRUE(driver.End(IDOK));
}


void DeleteSecondEntry(const BarProcess& bar) {
  ASSERT_EQ(bar.QueryList().size(), 3u);
  SendMessageW(bar.Item(IDC_QUERY), CB_SETCURSEL, 1, 0);
  bar.FocusQueryBox();
  bar.PressKey(VK_DELETE);
  ASSERT_EQ(bar.QueryList().size(), 2u);
}

void Search(const BarProcess& bar, const std::string& query) {
  bar.SetQuery(query);
  bar.Click(IDC_SEARCH);
}

}  // namespace

// Each kind of change, then the process killed two seconds later: the file
// holds the change, byte for byte as the exit would have written it.
TEST(SaveSoon, AChangeIsInTheFileWhenTheProcessIsKilledTwoSecondsLater) {
  struct Case {
    const char* name;
    std::function<void(const BarProcess&)> change;
    std::string expected;
  } cases[] = {
      {"a search", [](const BarProcess& bar) { Search(bar, "kept through a kill"); },
       kEngines + HistorySection({"kept through a kill", "a", "b", "c"}) + kOptions},
      {"a history entry deleted", DeleteSecondEntry, kEngines + HistorySection({"a", "c"}) + kOptions},
      {"the options dialog's OK", ChooseColourLook, kEngines + HistorySection({"a", "b", "c"}) + kOptionsColour},
      {"the picture chooser's OK", ChoosePictureThree, kEngines + HistorySection({"a", "b", "c"}) + kOptionsPicture3},
  };
  const std::string initial = kEngines + HistorySection({"a", "b", "c"}) + kOptions;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BarProcess bar(initial);
    ASSERT_TRUE(bar.Started());
    const DWORD start = GetTickCount();
    c.change(bar);
    DWORD arrived = 0;
    WaitFor([&] { return (arrived = GetTickCount() - start, bar.SettingsBytes() != initial); }, 2000, 20);
    Sleep(2000 - std::min<DWORD>(GetTickCount() - start, 2000));
    TerminateProcess(bar.ProcessHandle(), 9);
    ASSERT_TRUE(bar.WaitForExit(5000));
    printf("[ save soon] %s: in the file after %lu ms\n", c.name, arrived);
    EXPECT_EQ(bar.SettingsBytes(), c.expected);
    EXPECT_TRUE(FilesIn(bar.Folder(), "*.tmp").empty());
  }
}

// Twenty searches as fast as they can be made: the file is written about once
// a second while they last, and once more after the last.
TEST(SaveSoon, TwentyQuickSearchesAreAFewWrites) {
  const std::vector<std::string> old = Numbered("old", 100);
  BarProcess bar(kEngines + HistorySection(old) + kOptions);
  ASSERT_TRUE(bar.Started());
  SaveCounter saves(bar.Folder());
  ASSERT_TRUE(saves.Watching());
  const DWORD start = GetTickCount();
  for (int i = 0; i < 20; ++i) Search(bar, "burst " + std::to_string(i));
  const DWORD burst = GetTickCount() - start;
  const int writes = saves.Count(2500);
  printf("[ save soon] 20 searches in %lu ms: %d writes\n", burst, writes);
  EXPECT_GE(writes, 1);
  EXPECT_LE(writes, static_cast<int>(burst / 1000) + 2);
  std::vector<std::string> history;
  for (int i = 19; i >= 0; --i) history.push_back("burst " + std::to_string(i));
  history.insert(history.end(), old.begin(), old.begin() + 80);
  EXPECT_EQ(bar.SettingsBytes(), kEngines + HistorySection(history) + kOptions);
  ASSERT_EQ(bar.Exit(), 0u);
}

// One save of a full history, as the bar makes it: read, change in memory,
// write the new file, rename it over. It runs on the bar's input thread, so it
// must be quick.
TEST(SaveSoon, ASaveOfAFullHistoryTakesAFewMilliseconds) {
  ScratchFolder folder("save-time");
  const std::string path = folder.Path() + "\\Quarrow.ini";
  WriteFileBytes(path, Gbk(kEngines + HistorySection(Numbered("old", 100)) + kOptions));
  constexpr int kSaves = 40;
  LARGE_INTEGER frequency{}, begin{}, end{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&begin);
  for (int i = 0; i < kSaves; ++i) {
    const SaveResult result = SaveWholeFile(path, [i](const SettingsFile& file) {
      file.WriteString("History", "H0", "query " + std::to_string(i));
    });
    ASSERT_EQ(result.status, SaveStatus::kDone) << "save " << i << ", system error " << result.systemError;
  }
  QueryPerformanceCounter(&end);
  const double ms = 1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) / frequency.QuadPart / kSaves;
  printf("[ save soon] one save of the 100-entry file: %.2f ms\n", ms);
  EXPECT_LT(ms, 100.0);
  EXPECT_EQ(ReadKey(path, "History", "H0"), "query " + std::to_string(kSaves - 1));
  EXPECT_EQ(ReadKey(path, "History", "H99"), "old99");
  EXPECT_TRUE(FilesIn(folder.Path(), "*.tmp").empty());
}
