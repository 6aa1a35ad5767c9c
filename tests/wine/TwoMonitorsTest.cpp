// The bar on a desktop of two monitors side by side, end to end: dragged with
// the mouse onto the second monitor and to its edges, across the edge the two
// share, and back. Runs on a display with a second monitor right of the
// primary (its own test entry); the layout is read, not assumed.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "BarHarness.h"
#include "DesktopHarness.h"
#include "resource.h"

using namespace desktop_test;

namespace {

struct Monitor {
  RECT area;
  RECT work;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  reinterpret_cast<std::vector<Monitor>*>(list)->push_back({info.rcMonitor, info.rcWork});
  return TRUE;
}

// The primary at (0, 0) and the monitor right of it.
struct Desk {
  Monitor primary{}, second{};
  int edgeInset = GetSystemMetrics(SM_CYEDGE);
  int peek = GetSystemMetrics(SM_CXFRAME);
  bool found = false;

  Desk() {
    std::vector<Monitor> all;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&all));
    for (const Monitor& m : all) {
      if (m.area.left == 0 && m.area.top == 0) primary = m;
      if (m.area.left > 0) second = m;
    }
    found = all.size() == 2 && primary.area.right == second.area.left;
  }
  // The second monitor has no taskbar: what its work area leaves free.
  int SecondBottom() const { return second.work.bottom; }
  POINT SecondMiddle() const {
    return {(second.area.left + second.area.right) / 2, (second.area.top + second.area.bottom) / 2};
  }
  bool OnSecond(const RECT& r) const {
    return r.left >= second.area.left && r.right <= second.area.right;
  }
};

class TwoMonitors : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(d.found) << "needs a monitor right of the primary";
    ASSERT_TRUE(bar.Started());
  }
  void TearDown() override { HideTestWindow(); }

  // Drags the bar into the second monitor's middle: free there.
  void DragOntoSecond() {
    DragBar(bar, d.SecondMiddle());
    ASSERT_TRUE(d.OnSecond(WindowRect(bar.Bar()))) << Describe(WindowRect(bar.Bar()));
  }

  const Desk d;
  BarProcess bar;
};

TEST_F(TwoMonitors, EdgesOfTheSecondDockRetractAndRevealThere) {
  const LONG right = d.second.area.right;
  const LONG bottom = d.SecondBottom();
  const POINT mid = d.SecondMiddle();
  struct Case {
    const char* edge;
    POINT dragTo;
    std::function<bool(const RECT&)> docked, retracted;
    std::function<POINT(const RECT&)> strip;
  } cases[] = {
      {"top", {mid.x, 10}, [&](const RECT& r) { return r.top == -d.edgeInset; },
       [&](const RECT& r) { return r.bottom == d.peek; },
       [&](const RECT& r) { return POINT{(r.left + r.right) / 2, d.peek / 2}; }},
      {"right", {right - 10, mid.y}, [&](const RECT& r) { return r.right == right; },
       [&](const RECT& r) { return r.left == right - d.peek; },
       [&](const RECT& r) { return POINT{right - 1 - d.peek / 2, (r.top + r.bottom) / 2}; }},
      // Dragged, revealed and retracted against the monitor's own bottom.
      {"bottom", {mid.x, bottom - 10}, [&](const RECT& r) { return r.bottom == bottom; },
       [&](const RECT& r) { return r.top == d.second.area.bottom - d.peek; },
       [&](const RECT& r) {
         return POINT{(r.left + r.right) / 2, d.second.area.bottom - 1 - d.peek / 2};
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.edge);
    DragOntoSecond();
    DragBar(bar, c.dragTo);
    RECT docked = WindowRect(bar.Bar());
    EXPECT_TRUE(c.docked(docked)) << Describe(docked);
    EXPECT_TRUE(d.OnSecond(docked)) << Describe(docked);

    MoveMouse(c.dragTo.x, c.dragTo.y + 1);  // on the bar: the leave watch runs
    MoveMouse(640, 400);
    EXPECT_TRUE(WaitForRect(bar, c.retracted)) << Describe(WindowRect(bar.Bar()));
    // Its strip is on the second monitor: nothing of it hangs into the primary.
    EXPECT_GE(WindowRect(bar.Bar()).left, d.second.area.left);

    POINT strip = c.strip(WindowRect(bar.Bar()));
    MoveMouse(strip.x, strip.y);
    EXPECT_TRUE(WaitForRect(bar, c.docked)) << Describe(WindowRect(bar.Bar()));
    MoveMouse(640, 400);
    EXPECT_TRUE(WaitForRect(bar, c.retracted)) << Describe(WindowRect(bar.Bar()));

    // Out again for the next drag.
    MoveMouse(strip.x, strip.y);
    ASSERT_TRUE(WaitForRect(bar, c.docked));
  }
}

// Dropped against the shared edge from either side the bar stays where it was
// dropped, never retracts, and docks again at the primary's top.
TEST_F(TwoMonitors, SharedEdgeIsCrossedFreelyFromBothSides) {
  const LONG shared = d.second.area.left;
  for (LONG x : {shared - 5, shared + 5}) {
    SCOPED_TRACE(x);
    if (x > shared) DragOntoSecond();
    const POINT from = Surface(bar);
    const RECT before = WindowRect(bar.Bar());
    DragBar(bar, {x, 300});
    RECT dropped = WindowRect(bar.Bar());
    EXPECT_EQ(dropped.left, before.left + (x - from.x)) << Describe(dropped);
    EXPECT_EQ(dropped.top, before.top + (300 - from.y)) << Describe(dropped);
    MoveMouse(x, 301);
    MoveMouse(640, 600);
    Pause(600);
    EXPECT_EQ(WindowRect(bar.Bar()).left, dropped.left) << "a free bar never retracts";
  }
  DragBar(bar, {640, 10});
  RECT docked = WindowRect(bar.Bar());
  EXPECT_EQ(docked.top, -d.edgeInset) << Describe(docked);
  EXPECT_LE(docked.right, shared) << Describe(docked);
}

TEST_F(TwoMonitors, HotkeyAndDoubleClickStayOnTheSecondMonitor) {
  DragOntoSecond();
  const LONG width = Width(WindowRect(bar.Bar()));
  const LONG height = Height(WindowRect(bar.Bar()));
  // The corner of the second monitor's work area (the option's default: right).
  // Wine loses a press at the very spot where a drag let go, without a move
  // between: the double click is made a few pixels beside it.
  POINT at = Surface(bar);
  MoveMouse(at.x + 8, at.y + 3);
  DoubleClick();
  bar.Sync();
  const RECT& work = d.second.work;
  const LONG cornerY = d.second.area.top + (work.bottom - d.second.area.top - height) / 7 * 6;
  EXPECT_TRUE(WaitForRect(bar, [&](const RECT& r) {
    return r.left == work.right - width && r.top == cornerY;
  })) << Describe(WindowRect(bar.Bar()));

  Pause(GetDoubleClickTime() + 50);
  DragBar(bar, {d.SecondMiddle().x, 10});
  MoveMouse(d.SecondMiddle().x, 11);
  MoveMouse(640, 400);
  ASSERT_TRUE(WaitForRect(bar, [&](const RECT& r) { return r.bottom == d.peek; }));
  const LONG left = WindowRect(bar.Bar()).left;

  auto out = [&](const RECT& r) { return r.top == -d.edgeInset && r.left == left; };
  FocusTestWindow();
  PressHotkey();
  EXPECT_TRUE(WaitForRect(bar, out)) << Describe(WindowRect(bar.Bar()));
  EXPECT_TRUE(d.OnSecond(WindowRect(bar.Bar())));

  // In and out with the mouse, then the tray's "show" command.
  MoveMouse(left + 20, 5);
  MoveMouse(640, 400);
  ASSERT_TRUE(WaitForRect(bar, [&](const RECT& r) { return r.bottom == d.peek; }));
  bar.Command(ID_SHOW_BAR);
  EXPECT_TRUE(WaitForRect(bar, out)) << Describe(WindowRect(bar.Bar()));
}

// Wine cannot unplug a monitor; what it can show: a bar put off every monitor
// comes back into the nearest one's work area when the display changes.
TEST_F(TwoMonitors, DisplayChangeBringsABarOffEveryMonitorBack) {
  // At start-up the bar is centred in the primary's work area.
  const RECT start = WindowRect(bar.Bar());
  const LONG width = Width(start);
  const LONG height = Height(start);
  EXPECT_EQ(start.left, (d.primary.work.left + d.primary.work.right - width) / 2);
  EXPECT_EQ(start.top, (d.primary.work.top + d.primary.work.bottom - height) / 2);
  const RECT& work = d.second.work;
  struct Case {
    const char* where;
    POINT put;
    UINT message;
    WPARAM wParam;
    POINT back;
  } cases[] = {
      {"right of everything", {d.second.area.right + 300, 100}, WM_DISPLAYCHANGE, 32,
       {work.right - width, 100}},
      {"below the second, beside the primary", {d.second.area.left + 200, d.second.area.bottom + 10},
       WM_DISPLAYCHANGE, 32, {d.second.area.left + 200, work.bottom - height}},
      {"half into the dead zone", {d.second.area.left + 300, d.second.area.bottom - 20},
       WM_SETTINGCHANGE, SPI_SETWORKAREA, {d.second.area.left + 300, work.bottom - height}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    SetWindowPos(bar.Bar(), nullptr, c.put.x, c.put.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    // Sent, as the system broadcasts them (a WM_SETTINGCHANGE cannot be posted).
    SendMessageW(bar.Bar(), c.message, c.wParam, 0);
    EXPECT_TRUE(WaitForRect(bar, [&](const RECT& r) {
      return r.left == c.back.x && r.top == c.back.y;
    })) << Describe(WindowRect(bar.Bar()));
  }
  // Another setting changed: the bar is left where it is.
  SetWindowPos(bar.Bar(), nullptr, d.second.area.right + 300, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SendMessageW(bar.Bar(), WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0);
  EXPECT_EQ(WindowRect(bar.Bar()).left, d.second.area.right + 300);
}

}  // namespace
