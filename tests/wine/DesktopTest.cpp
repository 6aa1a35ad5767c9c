// The bar on the desktop, end to end: the real Quarrow.exe docked by dragging
// it with the mouse, brought back and hidden by the mouse, the hotkey and the
// notification icon, its two pop-up menus, and what it paints.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "desktop/win/TrayIcon.h"
#include "DesktopHarness.h"
#include "DialogHarness.h"
#include "resource.h"

using namespace desktop_test;

namespace {

constexpr COLORREF kLightBlue = RGB(217, 225, 247);

struct Screen {
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  int edgeInset = GetSystemMetrics(SM_CYEDGE);  // how far a top-docked bar reaches above
  int peek = GetSystemMetrics(SM_CXFRAME);      // what stays of a retracted bar
  // Measured as the bar measures it: the taskbar window's height, else 30.
  int taskbar = [] {
    HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (!tray) return 30;
    RECT rect = WindowRect(tray);
    return static_cast<int>(rect.bottom - rect.top);
  }();
};

// As the shell sends them: posted. (A sent message overtakes a posted one, so
// the callers wait for what the message does.)
void PostTray(const BarProcess& bar, LPARAM mouseMessage) {
  PostMessageW(bar.Bar(), kTrayCallbackMessage, kTrayIconId, mouseMessage);
}

bool Shown(const BarProcess& bar) {
  return WaitFor([&] { return IsWindowVisible(bar.Bar()) != FALSE; });
}

bool Hidden(const BarProcess& bar) {
  return WaitFor([&] { return !IsWindowVisible(bar.Bar()); });
}

// Right click on the bar's surface: opens "FormPop" (the press opens it).
HWND OpenFormPop(const BarProcess& bar) {
  // A second press on the same spot within the double-click time is a double
  // click (the dialog class has CS_DBLCLKS), which opens nothing.
  Pause(GetDoubleClickTime() + 50);
  POINT at = Surface(bar);
  MoveMouse(at.x, at.y);
  RightButton(true);
  HWND menu = WaitForPopupMenu(bar.ProcessId());
  RightButton(false);
  return menu;
}

void ChooseByKeys(std::initializer_list<WORD> keys) {
  for (WORD key : keys) TapKey(key);
  TapKey(VK_RETURN);
}

void Repeat(std::vector<WORD>& keys, WORD key, int times) { keys.insert(keys.end(), times, key); }

// The dialog that a menu command opened, known by one of its controls; it is
// cancelled again. False when none opened.
bool OpensAndCancelsDialog(const BarProcess& bar, int controlId) {
  HWND dialog = nullptr;
  WaitFor([&] {
    for (HWND owned : OwnedDialogs(bar.ProcessId(), bar.Bar())) {
      if (GetDlgItem(owned, controlId)) dialog = owned;
    }
    return dialog != nullptr;
  });
  if (!dialog) return false;
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  // Gone, and the bar takes input again.
  return WaitFor([&] {
    return (!IsWindow(dialog) || !IsWindowVisible(dialog)) && IsWindowEnabled(bar.Bar());
  });
}

// ---- Pixels.

// Points of the client area (client coordinates) that no control covers,
// three pixels clear of every control.
std::vector<POINT> FreeSurfacePoints(HWND bar) {
  RECT client{};
  GetClientRect(bar, &client);
  POINT origin = ClientOrigin(bar);
  std::vector<RECT> controls;
  for (HWND child = GetWindow(bar, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT r = WindowRect(child);
    OffsetRect(&r, -origin.x, -origin.y);
    InflateRect(&r, 3, 3);
    controls.push_back(r);
  }
  std::vector<POINT> points;
  for (int y = 1; y < client.bottom - 1; y += 7) {
    for (int x = 1; x < client.right - 1; x += 13) {
      POINT p{x, y};
      bool covered = false;
      for (const RECT& r : controls) covered = covered || PtInRect(&r, p);
      if (!covered) points.push_back(p);
    }
  }
  return points;
}

// The top row of the two check boxes, beside their box: the box sits at the
// right end (the text is on its left) and, in a control no taller than it,
// its frame reaches the top row.
std::vector<POINT> CheckBoxBackgroundPoints(HWND bar) {
  POINT origin = ClientOrigin(bar);
  std::vector<POINT> points;
  HDC screen = GetDC(nullptr);
  int box = MulDiv(12, GetDeviceCaps(screen, LOGPIXELSX), 96) + 1;  // as the button control draws it
  ReleaseDC(nullptr, screen);
  for (int id : {IDC_SITE_SWITCH, IDC_KEYWORD_SWITCH}) {
    RECT r = WindowRect(GetDlgItem(bar, id));
    for (LONG x = r.left + 1; x < r.right - 1 - box; x += 3) points.push_back({x - origin.x, r.top - origin.y});
  }
  return points;
}

std::string Hex(COLORREF c) {
  char text[16];
  snprintf(text, sizeof text, "%06lX", static_cast<unsigned long>(c));
  return text;
}

// Compares the bar's pixels on the screen with `expected` (client coordinates);
// the first few differences are reported.
int CountDifferences(HWND bar, const std::vector<POINT>& points,
                     const std::function<COLORREF(POINT)>& expected) {
  POINT origin = ClientOrigin(bar);
  int differences = 0;
  for (POINT p : points) {
    COLORREF shown = ScreenPixel(origin.x + p.x, origin.y + p.y);
    COLORREF wanted = expected(p);
    if (shown != wanted && ++differences <= 5) {
      ADD_FAILURE() << "pixel (" << p.x << "," << p.y << ") is " << Hex(shown) << ", expected "
                    << Hex(wanted);
    }
  }
  return differences;
}

std::string SettingsWithPicture(int useImage, const char* imageNumber) {
  std::string ini = "[Setting]\r\nUseImg=" + std::to_string(useImage) + "\r\n";
  if (imageNumber) ini += std::string("ImgNumber=") + imageNumber + "\r\n";
  return ini;
}

}  // namespace

// ---- Docking and auto-hide.

TEST(DesktopDocking, DraggedToAnEdgeItDocksRetractsAndComesBackAtTheStrip) {
  const Screen s;
  struct Case {
    const char* edge;
    POINT dragTo;  // where the cursor lets go
    std::function<bool(const RECT&)> snapped, retracted, revealed;
    std::function<POINT(const RECT&)> strip;  // a point of the strip left on screen
  } cases[] = {
      {"top", {640, 10},
       [&](const RECT& r) { return r.top == -s.edgeInset; },
       [&](const RECT& r) { return r.bottom == s.peek; },
       [&](const RECT& r) { return r.top == -s.edgeInset; },
       [&](const RECT& r) { return POINT{(r.left + r.right) / 2, s.peek / 2}; }},
      {"bottom", {640, s.height - s.taskbar - 10},
       [&](const RECT& r) { return r.bottom == s.height - s.taskbar; },
       [&](const RECT& r) { return r.top == s.height - s.peek; },
       [&](const RECT& r) { return r.bottom == s.height; },  // over the taskbar
       [&](const RECT& r) { return POINT{(r.left + r.right) / 2, s.height - 1 - s.peek / 2}; }},
      {"left", {10, 400},
       [&](const RECT& r) { return r.left == 0; },
       [&](const RECT& r) { return r.right == s.peek; },
       [&](const RECT& r) { return r.left == 0; },
       [&](const RECT& r) { return POINT{s.peek / 2, (r.top + r.bottom) / 2}; }},
      {"right", {s.width - 10, 400},
       [&](const RECT& r) { return r.right == s.width; },
       [&](const RECT& r) { return r.left == s.width - s.peek; },
       [&](const RECT& r) { return r.right == s.width; },
       [&](const RECT& r) { return POINT{s.width - 1 - s.peek / 2, (r.top + r.bottom) / 2}; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.edge);
    BarProcess bar;
    ASSERT_TRUE(bar.Started());
    const RECT before = WindowRect(bar.Bar());

    DragBar(bar, c.dragTo);
    RECT docked = WindowRect(bar.Bar());
    EXPECT_TRUE(c.snapped(docked)) << Describe(docked);
    EXPECT_EQ(Width(docked), Width(before));
    EXPECT_EQ(Height(docked), Height(before));

    // The cursor still on the bar starts the leave watch; leaving retracts it.
    MoveMouse(c.dragTo.x, c.dragTo.y + 1);
    MoveMouse(640, 400);
    EXPECT_TRUE(WaitForRect(bar, c.retracted)) << Describe(WindowRect(bar.Bar()));
    EXPECT_TRUE(IsWindowVisible(bar.Bar()));

    // Touching the strip brings it back; it stays while the cursor is on it.
    POINT strip = c.strip(WindowRect(bar.Bar()));
    MoveMouse(strip.x, strip.y);
    EXPECT_TRUE(WaitForRect(bar, c.revealed)) << Describe(WindowRect(bar.Bar()));
    Pause(400);
    EXPECT_TRUE(c.revealed(WindowRect(bar.Bar()))) << Describe(WindowRect(bar.Bar()));

    MoveMouse(640, 400);
    EXPECT_TRUE(WaitForRect(bar, c.retracted)) << Describe(WindowRect(bar.Bar()));
  }
}

TEST(DesktopDocking, DraggedBackIntoTheMiddleOrTwentyEightPixelsFromTheTopItStaysFree) {
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  DragBar(bar, {640, 10});
  ASSERT_EQ(WindowRect(bar.Bar()).top, -GetSystemMetrics(SM_CYEDGE));
  MoveMouse(641, 11);  // on the bar: the leave watch runs
  DragBar(bar, {500, 300});
  RECT free = WindowRect(bar.Bar());
  EXPECT_GT(free.top, 100) << Describe(free);
  MoveMouse(100, 700);
  Pause(600);
  EXPECT_EQ(WindowRect(bar.Bar()).top, free.top) << "a free bar never retracts";

  // 28 pixels from the top is beyond the 20-pixel snap distance of 96 DPI (at
  // 144 DPI it is within its 30: HighDpi.SnapDistanceGrowsWithTheDensity).
  const int grabbedAt = Surface(bar).y - WindowRect(bar.Bar()).top;
  DragBar(bar, {640, 28});
  EXPECT_EQ(WindowRect(bar.Bar()).top, 28 - grabbedAt) << Describe(WindowRect(bar.Bar()));
}

TEST(DesktopDocking, DoubleClickMovesTheBarToTheCornerTheOptionNames) {
  for (int right : {1, 0}) {
    SCOPED_TRACE(right ? "DoubleClickRight=1" : "DoubleClickRight=0");
    BarProcess bar("[Setting]\r\nDoubleClickRight=" + std::to_string(right) + "\r\n");
    ASSERT_TRUE(bar.Started());
    const RECT area = WorkArea();
    const RECT before = WindowRect(bar.Bar());
    // Bottom-right of the work area, or the screen's left edge; the top at six
    // sevenths of the free height.
    const LONG x = right ? area.right - Width(before) : 0;
    const LONG y = (area.bottom - Height(before)) / 7 * 6;

    POINT at = Surface(bar);
    MoveMouse(at.x, at.y);
    DoubleClick();
    bar.Sync();
    EXPECT_TRUE(WaitForRect(bar, [&](const RECT& r) { return r.left == x && r.top == y; }))
        << Describe(WindowRect(bar.Bar())) << " expected at (" << x << "," << y << ")";
    EXPECT_EQ(Width(WindowRect(bar.Bar())), Width(before));
  }
}

// ---- The hotkey.

class DesktopHotkey : public ::testing::Test {
 protected:
  void TearDown() override { HideTestWindow(); }
};

TEST_F(DesktopHotkey, EscapeHidesAndTheHotkeyShowsAndHidesTheBar) {
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  bar.FocusQueryBox();
  bar.PressKey(VK_ESCAPE);
  ASSERT_TRUE(Hidden(bar));

  // Hidden, with another window in front: shown, restored and in front.
  HWND other = FocusTestWindow();
  ASSERT_EQ(GetForegroundWindow(), other);
  PressHotkey();
  EXPECT_TRUE(Shown(bar));
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == bar.Bar(); }));

  // Shown: hidden again, also with another window in front. The query box goes
  // back to the text of the last exchange (the show above took it, empty):
  // what was typed since does not survive.
  bar.SetQuery("typed meanwhile");
  FocusTestWindow();
  PressHotkey();
  EXPECT_TRUE(Hidden(bar));
  EXPECT_EQ(bar.Text(IDC_QUERY), "");

  // Text in the box when the hotkey shows the bar is taken as the held value.
  bar.SetQuery("kept");
  FocusTestWindow();
  PressHotkey();
  EXPECT_TRUE(Shown(bar));
  bar.PressKey('S', true, true);  // the bar in front: hides
  EXPECT_TRUE(Hidden(bar));
  EXPECT_EQ(bar.Text(IDC_QUERY), "kept");
  EXPECT_FALSE(bar.WaitForExit(100));
}

TEST_F(DesktopHotkey, BringsARetractedBarOutUntilTheMouseHasBeenOnItAndTheNextPressHides) {
  const Screen s;
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  DragBar(bar, {640, 10});
  MoveMouse(640, 11);
  MoveMouse(640, 400);
  ASSERT_TRUE(WaitForRect(bar, [&](const RECT& r) { return r.bottom == s.peek; }));

  FocusTestWindow();
  PressHotkey();
  EXPECT_TRUE(WaitForRect(bar, [&](const RECT& r) { return r.top == -s.edgeInset; }));
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == bar.Bar(); }));
  // Nothing watches the cursor until it has been on the bar: it stays out.
  Pause(600);
  EXPECT_EQ(WindowRect(bar.Bar()).top, -s.edgeInset);

  PressHotkey();
  EXPECT_TRUE(Hidden(bar));
}

// ---- The notification icon and the menus.

TEST(DesktopTray, IconMessagesShowTheBarAndOpenTrayPopAtTheCursor) {
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  bar.Command(ID_HIDE_BAR);
  ASSERT_TRUE(Hidden(bar));

  // Right button down alone does nothing.
  MoveMouse(300, 300);
  PostTray(bar, WM_RBUTTONDOWN);
  Pause(300);
  EXPECT_EQ(OpenPopupMenu(bar.ProcessId()), nullptr);
  EXPECT_FALSE(IsWindowVisible(bar.Bar()));

  // Left button down shows the bar with the focus in the query box.
  PostTray(bar, WM_LBUTTONDOWN);
  EXPECT_TRUE(Shown(bar));
  EXPECT_TRUE(WaitFor([&] {
    HWND focus = FocusOf(bar.Bar());
    return focus && (focus == bar.Item(IDC_QUERY) || GetParent(focus) == bar.Item(IDC_QUERY));
  }));

  // Right button up opens "TrayPop" at the cursor. Its three items and the
  // separator show in how the keys go round: the fourth Down is item 0 again,
  // "显示主界面(&M)", which shows the hidden bar.
  bar.Command(ID_HIDE_BAR);
  ASSERT_TRUE(Hidden(bar));
  MoveMouse(300, 300);
  PostTray(bar, WM_RBUTTONUP);
  HWND menu = WaitForPopupMenu(bar.ProcessId());
  ASSERT_NE(menu, nullptr);
  RECT popup = WindowRect(menu);
  EXPECT_EQ(popup.left, 300);
  EXPECT_EQ(popup.top, 300);
  ChooseByKeys({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN});
  EXPECT_TRUE(WaitFor([&] { return !OpenPopupMenu(bar.ProcessId()); }));
  EXPECT_TRUE(Shown(bar));

  // "软件设置(&O)" runs the options dialog.
  PostTray(bar, WM_RBUTTONUP);
  ASSERT_NE(WaitForPopupMenu(bar.ProcessId()), nullptr);
  TapKey('O');
  EXPECT_TRUE(OpensAndCancelsDialog(bar, IDC_BROWSER_IE));
}

TEST(DesktopTray, ExitFromTrayPopWithTheBarHiddenSavesAndTakesTheIconAway) {
  // Icons of programs that earlier tests ended may still be going away.
  int iconsBefore = WineTrayIconCount();
  for (int i = 0; i < 10; ++i) {
    Sleep(300);
    int now = WineTrayIconCount();
    if (now == iconsBefore) break;
    iconsBefore = now;
  }
  BarProcess bar("[History]\r\nH0=tray query\r\n[Setting]\r\nDoubleClickRight=0\r\nUseImg=0\r\n");
  ASSERT_TRUE(bar.Started());
  // Wine shows the icon in its own notification window when X has no tray.
  EXPECT_TRUE(WaitFor([&] { return WineTrayIconCount() == iconsBefore + 1; }));

  bar.Command(ID_HIDE_BAR);
  ASSERT_TRUE(Hidden(bar));
  MoveMouse(300, 300);
  PostTray(bar, WM_RBUTTONUP);
  ASSERT_NE(WaitForPopupMenu(bar.ProcessId()), nullptr);
  ChooseByKeys({VK_UP});  // the last item: "退出(&E)"
  ASSERT_EQ(bar.ExitCode(), 0u);
  EXPECT_EQ(bar.SettingsBytes(),
            HistorySection({"tray query"}) + IniSection("Setting", {"DoubleClickRight=0", "UseImg=0", "UseIE=0"}));
  EXPECT_TRUE(WaitFor([&] { return WineTrayIconCount() == iconsBefore; }));
}

TEST(DesktopFormPop, RightClickOnTheBarOpensFormPopAtTheCursorWithItsFiveCommands) {
  BarProcess bar;
  ASSERT_TRUE(bar.Started());
  // The first three items by their letters: options, picture chooser, About.
  struct Item {
    WORD letter;
    int controlOfDialog;
  } dialogs[] = {{'O', IDC_BROWSER_IE}, {'C', IDC_PAGE_LABEL}, {'A', IDC_HOME_PAGE_LINK}};
  for (const Item& item : dialogs) {
    SCOPED_TRACE(static_cast<char>(item.letter));
    POINT at = Surface(bar);
    HWND menu = OpenFormPop(bar);
    ASSERT_NE(menu, nullptr);
    RECT popup = WindowRect(menu);
    EXPECT_EQ(popup.left, at.x);
    EXPECT_EQ(popup.top, at.y);
    TapKey(item.letter);
    EXPECT_TRUE(OpensAndCancelsDialog(bar, item.controlOfDialog));
  }
  // Five items: "隐藏(&H)" is the fourth Down and, going round, the ninth;
  // "退出(&E)" is the last, the first Up.
  std::vector<WORD> fourth, ninth;
  Repeat(fourth, VK_DOWN, 4);
  Repeat(ninth, VK_DOWN, 9);
  for (const auto& keys : {fourth, ninth}) {
    SCOPED_TRACE(keys.size());
    ASSERT_NE(OpenFormPop(bar), nullptr);
    for (WORD key : keys) TapKey(key);
    TapKey(VK_RETURN);
    EXPECT_TRUE(Hidden(bar));
    EXPECT_FALSE(bar.WaitForExit(0));
    bar.Command(ID_SHOW_BAR);
    ASSERT_TRUE(Shown(bar));
  }
  ASSERT_NE(OpenFormPop(bar), nullptr);
  ChooseByKeys({VK_UP});
  EXPECT_TRUE(bar.WaitForExit());
  EXPECT_NE(bar.SettingsBytes().find("[Setting]\r\nUseIE=0\r\nDoubleClickRight=1\r\nUseImg=1\r\n"),
            std::string::npos);
}

// ---- The background.

// Pixel for pixel, the bar's surface and the background of its check boxes.
// Which bitmap a number names is the core's rule, and the robustness cases
// see more numbers on screen (tests/data/bad-settings).
TEST(DesktopBackground, TheColourOrThePictureTheNumberNamesFillsTheBarAndItsCheckBoxes) {
  struct Case {
    int useImage;
    const char* imageNumber;
    int bitmap;  // 0: the colour look
  } cases[] = {
      {0, "3", 0},     // colour mode
      {1, "30", 289},  // the last picture, stretched
      {1, "35", 0},    // a number without a bitmap: the colour look
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("UseImg=") + std::to_string(c.useImage) + ", ImgNumber=" + c.imageNumber);
    BarProcess bar(SettingsWithPicture(c.useImage, c.imageNumber));
    ASSERT_TRUE(bar.Started());
    auto points = FreeSurfacePoints(bar.Bar());
    ASSERT_GT(points.size(), 20u);
    auto checkBoxes = CheckBoxBackgroundPoints(bar.Bar());
    points.insert(points.end(), checkBoxes.begin(), checkBoxes.end());
    if (c.bitmap == 0) {
      EXPECT_EQ(CountDifferences(bar.Bar(), points, [](POINT) { return kLightBlue; }), 0);
      continue;
    }
    // The picture as the bar should show it: the program's bitmap stretched
    // over a client area of the bar's size.
    RECT client{};
    GetClientRect(bar.Bar(), &client);
    const ScreenImage picture = ProgramBitmap(c.bitmap, client.right, client.bottom);
    ASSERT_FALSE(picture.pixels.empty());
    // Check boxes are transparent: the picture shows through their background.
    EXPECT_EQ(CountDifferences(bar.Bar(), points,
                               [&](POINT p) {
                                 DWORD rgb = picture.At(p.x, p.y);
                                 return RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
                               }),
              0);
  }
}

// Clicking the check boxes moves the focus and its dotted frame over them;
// once the focus has gone to the query box they look as a fresh paint of the
// whole bar draws them.
TEST(DesktopBackground, CheckBoxesOnThePictureLeaveNoTraceOfTheFocus) {
  BarProcess bar(SettingsWithPicture(1, "1"));
  ASSERT_TRUE(bar.Started());
  auto capture = [&] {
    std::vector<COLORREF> pixels;
    for (int id : {IDC_KEYWORD_SWITCH, IDC_SITE_SWITCH}) {
      RECT r = WindowRect(bar.Item(id));
      for (LONG y = r.top; y < r.bottom; ++y)
        for (LONG x = r.left; x < r.right; ++x) pixels.push_back(ScreenPixel(x, y));
    }
    return pixels;
  };
  // Wine puts a paint on the screen a moment after it is done: read the
  // boxes once two readings 50 ms apart agree.
  auto settled = [&] {
    std::vector<COLORREF> last = capture(), now;
    WaitFor([&] {
      Pause(50);
      now = std::exchange(last, capture());
      return now == last;
    }, 2000, 0);
    return last;
  };
  auto click = [&](int id) {
    RECT r = WindowRect(bar.Item(id));
    MoveMouse((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    LeftButton(true);
    LeftButton(false);
    bar.Sync();
  };
  for (int id : {IDC_KEYWORD_SWITCH, IDC_SITE_SWITCH, IDC_QUERY}) click(id);
  EXPECT_EQ(SendMessageW(bar.Item(IDC_SITE_SWITCH), BM_GETCHECK, 0, 0), BST_CHECKED);
  const std::vector<COLORREF> shown = settled();
  RedrawWindow(bar.Bar(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  UpdateWindow(bar.Bar());
  const std::vector<COLORREF> fresh = settled();
  ASSERT_EQ(shown.size(), fresh.size());
  size_t differing = 0;
  for (size_t i = 0; i < shown.size(); ++i) differing += shown[i] != fresh[i];
  EXPECT_EQ(differing, 0u) << "of " << shown.size() << " pixels";
}

TEST(DesktopBackground, RepaintingCreatesNoGdiObjects) {
  for (int useImage : {0, 1}) {
    SCOPED_TRACE(useImage ? "picture" : "colour");
    BarProcess bar(SettingsWithPicture(useImage, "7"));
    ASSERT_TRUE(bar.Started());
    const POINT spot{ClientOrigin(bar.Bar()).x + 2, ClientOrigin(bar.Bar()).y + 2};
    const COLORREF background = ScreenPixel(spot.x, spot.y);
    // A black spot drawn over the bar from here is gone after a repaint: the
    // repaints below really ran the bar's erase and paint.
    auto repaint = [&](int times) {
      for (int i = 0; i < times; ++i) {
        if (i % 50 == 0) {
          HDC dc = GetDC(bar.Bar());
          RECT corner{0, 0, 6, 6};
          FillRect(dc, &corner, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
          ReleaseDC(bar.Bar(), dc);
          ASSERT_EQ(ScreenPixel(spot.x, spot.y), RGB(0, 0, 0));
        }
        InvalidateRect(bar.Bar(), nullptr, TRUE);
        UpdateWindow(bar.Bar());  // WM_PAINT, with its erase, in the bar's thread
        // The bar's repaint reaches the screen when Wine flushes its window
        // surface, a moment after UpdateWindow has returned.
        if (i % 50 == 0) {
          ASSERT_TRUE(WaitFor([&] { return ScreenPixel(spot.x, spot.y) == background; }))
              << "the spot stayed " << ScreenPixel(spot.x, spot.y) << ", not " << background;
        }
      }
      bar.Sync();
    };
    repaint(20);  // the first paints may still settle the system's caches
    std::optional<int> before = GdiObjectCount(bar.ProcessHandle());
    ASSERT_TRUE(before.has_value());
    ASSERT_GT(*before, 0);
    repaint(300);
    std::optional<int> after = GdiObjectCount(bar.ProcessHandle());
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(*after, *before);
  }
}
