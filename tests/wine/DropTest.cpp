// Dropping text on the bar, with this test program as the drag source: OLE
// carries the drag across processes to the bar's drop target.
#include <gtest/gtest.h>
#include <ole2.h>

#include <cstring>

#include "BarHarness.h"
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

// A megabyte with line breaks neither crashes the bar nor splits the settings
// file. (Under Wine a URL that long is not handed to the shell at all.)
TEST_F(Drop, AHugeTextWithLineBreaksIsRecordedAndSavedOnOneLine) {
  BarProcess bar;
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
