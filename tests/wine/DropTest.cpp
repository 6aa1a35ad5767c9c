// Dropping text on the bar, with this test program as the drag source: OLE
// carries the drag across processes to the bar's drop target.
#include <gtest/gtest.h>
#include <ole2.h>

#include <cstring>

#include "BarHarness.h"
#include "DialogHarness.h"
#include "DragSource.h"
#include "resource.h"

namespace {

class Drop : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
  void TearDown() override { OleUninitialize(); }
};

}  // namespace

TEST_F(Drop, TheLastFieldIsSearchedAtOnceAndNothingCountsAsDropped) {
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  DropResult drop = DropOnBar(bar.Bar(), "name\tcolumn\t  www.abc.com \r\n");
  EXPECT_EQ(drop.result, DRAGDROP_S_DROP);
  EXPECT_TRUE(drop.sawCopy) << "the bar answers copy while the text is over it";
  EXPECT_EQ(drop.effect, static_cast<DWORD>(DROPEFFECT_NONE)) << "the source must keep its text";
  auto launches = bar.WaitForLaunches(1);
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0], "recorder.exe\t\"http://www.abc.com\"");
  EXPECT_EQ(bar.Text(IDC_QUERY), "www.abc.com");
  EXPECT_EQ(bar.QueryList(), std::vector<std::string>{"www.abc.com"});
}

// The UTF-16 text is taken when there is one: it holds every script, where
// the ANSI text holds only what the system's code page can.
TEST_F(Drop, TheUnicodeTextIsTakenFirstAndTheAnsiTextWithoutIt) {
  struct Case {
    const char* name;
    DragText offered;
    std::string searched;
  } cases[] = {
      {"both, different", {L"\uD55C\uAD6D\uC5B4 \uAC80\uC0C9", std::string("ansi text")}, "한국어 검색"},
      {"Unicode only", {L"\U0001F35C \uB77C\uBA58", std::nullopt}, "🍜 라멘"},
      {"ANSI only", {std::nullopt, AsProgramsOfferIt("百度 中文").ansi}, "百度 中文"},
  };
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  size_t launches = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DropOnBar(bar.Bar(), c.offered).dataRequests, 1);
    auto lines = bar.WaitForLaunches(++launches);
    ASSERT_EQ(lines.size(), launches);
    EXPECT_EQ(lines.back(), "recorder.exe\t\"https://www.baidu.com/s?wd=" + PercentEncoded(c.searched) + "\"");
    EXPECT_EQ(bar.Text(IDC_QUERY), c.searched);
    ASSERT_FALSE(bar.QueryList().empty());
    EXPECT_EQ(bar.QueryList().front(), c.searched);
  }
}

TEST_F(Drop, DataWithoutTextOrWithBlanksOnlyDoesNothing) {
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  DropOnBar(bar.Bar(), DragText{});  // no format at all
  DropResult drop = DropOnBar(bar.Bar(), "a\t \t  \r\n");
  EXPECT_EQ(drop.dataRequests, 1);  // the text was read, and was empty
  Sleep(300);
  EXPECT_TRUE(bar.Launches().empty());
  EXPECT_TRUE(bar.QueryList().empty());
}

// While one of its modal dialogs runs, the bar refuses drops: OLE hands the
// bar a drop on the dialog too, and a search from behind a dialog is not wanted.
TEST_F(Drop, IsRefusedWhileADialogOfTheBarIsOpen) {
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  HWND options = OpenDialog(bar, ID_OPTIONS, "软件设置");
  ASSERT_TRUE(options);
  DropResult drop = DropOnBar(bar.Bar(), "behind a dialog");
  EXPECT_FALSE(drop.sawCopy);
  EXPECT_EQ(drop.dataRequests, 0);
  SendMessageW(options, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitUntilGone(options));
  Sleep(300);
  EXPECT_TRUE(bar.Launches().empty());
  EXPECT_TRUE(bar.QueryList().empty());
  EXPECT_EQ(DropOnBar(bar.Bar(), "after it").dataRequests, 1);  // accepted again
  EXPECT_EQ(bar.WaitForLaunches(1).size(), 1u);
}

// A megabyte with line breaks neither crashes the bar nor splits the settings
// file. (Under Wine a URL that long is not handed to the shell at all.)
TEST_F(Drop, AHugeTextWithLineBreaksIsRecordedAndSavedOnOneLine) {
  BarProcess bar(kEmptySettings);
  ASSERT_TRUE(bar.Started());
  std::string text = "x\r\n[Engine]\r\nS0=http://evil/?q=\r\n";
  text.resize(1 << 20, 'y');
  DropOnBar(bar.Bar(), text);
  ASSERT_EQ(bar.QueryList().size(), 1u);
  EXPECT_EQ(bar.QueryList()[0].size(), text.size());
  ASSERT_EQ(bar.Exit(), 0u);
  std::string saved = bar.SettingsBytes();
  EXPECT_EQ(saved.find("[Engine]\r\n"), std::string::npos);
  EXPECT_NE(saved.find("H0=x  [Engine]  S0=http://evil/?q=  yyy"), std::string::npos);
  // The restarted bar still has the default engine and reads the entry back cut.
  BarProcess again(saved);
  ASSERT_TRUE(again.Started());
  EXPECT_EQ(again.Text(IDC_SEARCH), "百度一下");
  ASSERT_EQ(again.QueryList().size(), 1u);
  EXPECT_EQ(again.QueryList()[0].size(), 1023u);
}
