// The background-picture chooser end to end: the pages it shows (captions,
// radio captions and the pictures themselves, compared with the program's
// bitmaps on screen), what OK stores, and the bar's picture afterwards.
#include <windows.h>
#include <psapi.h>
#include <gtest/gtest.h>


#include "DialogHarness.h"
#include "resource.h"

namespace {

const std::string kOpeningCaption = "选择背景图片(第一页)";

struct PictureSession : DialogSession {
  explicit PictureSession(std::optional<std::string> ini = std::nullopt)
      : DialogSession(std::move(ini), ID_CHOOSE_PICTURE, kOpeningCaption) {}
  std::vector<std::string> RadioCaptions() const {
    std::vector<std::string> captions;
    for (int slot = 0; slot < 5; ++slot) captions.push_back(driver->Text(IDC_PICTURE_RADIO_FIRST + slot));
    return captions;
  }
  std::vector<bool> RadioChecks() const {
    std::vector<bool> checks;
    for (int slot = 0; slot < 5; ++slot) checks.push_back(driver->Checked(IDC_PICTURE_RADIO_FIRST + slot));
    return checks;
  }
  // Whether picture control `slot` shows bitmap `id` pixel for pixel, within
  // a second: what the dialog paints reaches the screen when Wine flushes its
  // window surface, a moment later.
  bool Shows(int slot, int id) const {
    const ScreenImage expected = ProgramBitmap(id);
    return WaitFor(
        [&] {
          ScreenImage shown = CaptureClient(driver->Item(IDC_PICTURE_FIRST + slot));
          return shown.width == expected.width && shown.height == expected.height &&
                 MatchingShare(shown, expected) == 1.0;
        },
        1000, 20);
  }
};

std::vector<std::string> CaptionsOfPage(int page) {
  std::vector<std::string> captions;
  for (int slot = 0; slot < 5; ++slot) captions.push_back(std::to_string(5 * page - 4 + slot));
  return captions;
}

}  // namespace

TEST(PictureDialog, OpensOnPageOneAndNextAndPreviousTurnRoundSixPages) {
  PictureSession session;
  ASSERT_TRUE(session.Ready());
  const DialogDriver& dialog = *session.driver;
  SaveScreenshot(session.dialog, "298-picture-chooser");
  EXPECT_EQ(dialog.Text(IDC_PAGE_LABEL), "第1页");
  EXPECT_EQ(session.RadioCaptions(), CaptionsOfPage(1));
  EXPECT_EQ(session.RadioChecks(), std::vector<bool>(5, false));
  for (int slot = 0; slot < 5; ++slot) EXPECT_TRUE(session.Shows(slot, 260 + slot)) << "slot " << slot;

  SendMessageW(dialog.Item(IDC_PICTURE_RADIO_FIRST + 3), BM_CLICK, 0, 0);
  struct Turn {
    int button;
    int page;
  } turns[] = {
      {IDC_NEXT_PAGE, 2}, {IDC_NEXT_PAGE, 3},     {IDC_NEXT_PAGE, 4},     {IDC_NEXT_PAGE, 5},
      {IDC_NEXT_PAGE, 6}, {IDC_NEXT_PAGE, 1},     {IDC_PREVIOUS_PAGE, 6}, {IDC_PREVIOUS_PAGE, 5},
      {IDC_PREVIOUS_PAGE, 4}, {IDC_PREVIOUS_PAGE, 3}, {IDC_PREVIOUS_PAGE, 2}, {IDC_PREVIOUS_PAGE, 1},
  };
  for (const Turn& turn : turns) {
    SCOPED_TRACE(testing::Message() << (turn.button == IDC_NEXT_PAGE ? "next" : "previous") << " to page "
                                    << turn.page);
    dialog.Click(turn.button);
    EXPECT_EQ(TextOf(session.dialog), "选择背景图片(第" + std::to_string(turn.page) + "页)");
    EXPECT_EQ(dialog.Text(IDC_PAGE_LABEL), "第" + std::to_string(turn.page) + "页");
    EXPECT_EQ(session.RadioCaptions(), CaptionsOfPage(turn.page));
    // The selection stays on its slot, whatever picture is there now.
    EXPECT_EQ(session.RadioChecks(), (std::vector<bool>{false, false, false, true, false}));
    for (int slot = 0; slot < 5; ++slot) {
      EXPECT_TRUE(session.Shows(slot, 255 + 5 * turn.page + slot)) << "slot " << slot;
    }
  }
}

// Picture 3 chosen on page 1 is the slot of picture 8 on page 2: OK stores
// what is on view, and the bar paints that picture.
TEST(PictureDialog, OkStoresTheNumberOnViewAndTheBarPaintsIt) {
  PictureSession session;
  ASSERT_TRUE(session.Ready());
  ASSERT_TRUE(session.End(IDCANCEL));
  EXPECT_TRUE(BarShowsLook(session.bar.Bar(), 260));  // picture 1 at the start

  ASSERT_TRUE(session.Open());
  session.driver->Click(IDC_PICTURE_RADIO_FIRST + 2);
  session.driver->Click(IDC_NEXT_PAGE);
  EXPECT_EQ(session.driver->Text(IDC_PICTURE_RADIO_FIRST + 2), "8");
  ASSERT_TRUE(session.End(IDOK));
  EXPECT_EQ(session.bar.SettingsBytes(), StarterSettings() + IniSection("Setting", {"ImgNumber=8"}));
  EXPECT_TRUE(BarShowsLook(session.bar.Bar(), 267));
  EXPECT_LT(BarLookShare(session.bar.Bar(), 260), 0.5);
}

TEST(PictureDialog, OkWithNothingSelectedAndCancelWriteNothing) {
  const std::string ini = "[Setting]\r\nImgNumber=3\r\nUseImg=1\r\n";
  {
    PictureSession session(ini);
    ASSERT_TRUE(session.Ready());
    session.driver->Click(IDC_NEXT_PAGE);
    ASSERT_TRUE(session.End(IDOK));  // closes all the same
    EXPECT_EQ(session.bar.SettingsBytes(), ini);
    EXPECT_TRUE(BarShowsLook(session.bar.Bar(), 262));
  }
  for (bool escape : {false, true}) {
    SCOPED_TRACE(escape ? "Esc" : "Cancel");
    PictureSession session(ini);
    ASSERT_TRUE(session.Ready());
    session.driver->Click(IDC_PICTURE_RADIO_FIRST);
    session.driver->Click(IDC_PREVIOUS_PAGE);
    if (escape) {
      session.driver->PressKeyIn(IDC_PICTURE_RADIO_FIRST, VK_ESCAPE);
      EXPECT_TRUE(WaitUntilGone(session.dialog));
    } else {
      ASSERT_TRUE(session.End(IDCANCEL));
    }
    EXPECT_EQ(session.bar.SettingsBytes(), ini);
    EXPECT_TRUE(BarShowsLook(session.bar.Bar(), 262));
  }
}

// Each turn loads five pictures; the ones it takes off the screen are given
// back, so a long browse does not make the program grow.
TEST(PictureDialog, TurningPagesGivesBackThePicturesItReplaces) {
  PictureSession session;
  ASSERT_TRUE(session.Ready());
  auto privateBytes = [&] {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(session.bar.ProcessHandle(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return counters.PagefileUsage;  // the private bytes (Wine leaves PrivateUsage at 0)
  };
  for (int i = 0; i < 12; ++i) session.driver->Click(IDC_NEXT_PAGE);  // settle the allocator
  SIZE_T before = privateBytes();
  ASSERT_GT(before, 0u);
  constexpr int kTurns = 120;
  for (int i = 0; i < kTurns; ++i) session.driver->Click(i % 3 ? IDC_NEXT_PAGE : IDC_PREVIOUS_PAGE);
  SIZE_T after = privateBytes();
  // Kept, the pictures of those turns would take about 600 bytes short of 70 MB.
  EXPECT_LT(after, before + 8 * 1024 * 1024) << "before " << before << ", after " << after;
}
