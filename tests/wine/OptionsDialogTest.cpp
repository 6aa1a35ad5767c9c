// The options dialog end to end: which buttons it opens on for the bar's
// switches, what OK and Cancel do to them (seen in the next search, in the
// bar's background and in the file that the bar writes at exit). The mapping
// of every value to a button is the core's, tested there.
#include <windows.h>
#include <gtest/gtest.h>

#include "DialogHarness.h"
#include "resource.h"

namespace {

const std::string kCaption = "软件设置";

const int kButtons[] = {IDC_BROWSER_IE,       IDC_BROWSER_DEFAULT,  IDC_PLACE_LEFT,
                        IDC_PLACE_RIGHT,      IDC_BACKGROUND_COLOR, IDC_BACKGROUND_IMAGE};

std::vector<int> CheckedButtons(const DialogDriver& dialog) {
  std::vector<int> checked;
  for (int id : kButtons) {
    if (dialog.Checked(id)) checked.push_back(id);
  }
  return checked;
}

// The "Setting" value `key` of the file the bar wrote.
std::optional<std::string> Setting(const BarProcess& bar, const char* key) {
  return ReadKey(bar.SettingsPath(), "Setting", key);
}

}  // namespace

// Opened on 1, 0 and another value: OK without a change keeps 1 and 0 and
// turns the other value into 0; Cancel keeps the value as it was read (which
// the bar's save writes as 1).
TEST(OptionsDialog, OkWithoutChangeTurnsOtherValuesIntoZeroAndCancelKeepsThem) {
  for (int button : {IDOK, IDCANCEL}) {
    SCOPED_TRACE(button == IDOK ? "OK" : "Cancel");
    BarProcess bar("[Setting]\r\nUseIE=1\r\nDoubleClickRight=0\r\nUseImg=7\r\n");
    ASSERT_TRUE(bar.Started());
    HWND window = OpenDialog(bar, ID_OPTIONS, kCaption);
    ASSERT_TRUE(window);
    DialogDriver dialog(bar, window);
    if (button == IDOK) SaveScreenshot(window, "139-options");
    EXPECT_EQ(CheckedButtons(dialog), (std::vector<int>{IDC_BROWSER_IE, IDC_PLACE_LEFT, IDC_BACKGROUND_COLOR}));
    ASSERT_TRUE(dialog.End(button));
    ASSERT_EQ(bar.Exit(), 0u);
    EXPECT_EQ(Setting(bar, "UseIE"), "1");
    EXPECT_EQ(Setting(bar, "DoubleClickRight"), "0");
    EXPECT_EQ(Setting(bar, "UseImg"), button == IDOK ? "0" : "1");
  }
}

// The choices take effect at once: the next search opens Internet Explorer,
// the bar is painted in its colour; and they reach the file at exit.
TEST(OptionsDialog, ChoicesMadeWithTheMouseTakeEffectOnOk) {
  BarProcess bar("[Setting]\r\nUseIE=0\r\nDoubleClickRight=1\r\nUseImg=1\r\n");
  ASSERT_TRUE(bar.Started());
  EXPECT_TRUE(BarShowsLook(bar.Bar(), 260));  // the picture

  // The same changes, first cancelled (nothing happens), then taken.
  for (int button : {IDCANCEL, IDOK}) {
    HWND window = OpenDialog(bar, ID_OPTIONS, kCaption);
    ASSERT_TRUE(window);
    DialogDriver dialog(bar, window);
    EXPECT_EQ(CheckedButtons(dialog),
              (std::vector<int>{IDC_BROWSER_DEFAULT, IDC_PLACE_RIGHT, IDC_BACKGROUND_IMAGE}));
    for (int id : {IDC_BROWSER_IE, IDC_PLACE_LEFT, IDC_BACKGROUND_COLOR}) {
      dialog.MouseClick(dialog.Item(id), RECT{0, 0, 12, 12});  // the round button itself
    }
    EXPECT_EQ(CheckedButtons(dialog), (std::vector<int>{IDC_BROWSER_IE, IDC_PLACE_LEFT, IDC_BACKGROUND_COLOR}));
    ASSERT_TRUE(dialog.End(button));
    if (button == IDCANCEL) {
      EXPECT_TRUE(BarShowsLook(bar.Bar(), 260));
    }
  }
  EXPECT_TRUE(BarShowsLook(bar.Bar(), 0, 0.95));
  bar.SetQuery("x");
  bar.Click(IDC_SEARCH);
  auto launches = bar.WaitForLaunches(1);
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0].substr(0, launches[0].find('\t')), "iexplore.exe");

  ASSERT_EQ(bar.Exit(), 0u);
  EXPECT_EQ(Setting(bar, "UseIE"), "1");
  EXPECT_EQ(Setting(bar, "DoubleClickRight"), "0");
  EXPECT_EQ(Setting(bar, "UseImg"), "0");
}
