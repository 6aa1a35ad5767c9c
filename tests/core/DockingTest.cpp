#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "desktop/Docking.h"

namespace {

// The bar's window, the cursor, the monitors and the two timers, as the
// engine sees them through its host. Without a list of monitors there is one
// screen of `screen` with `workArea`.
class FakeDesktop : public DockingHost {
 public:
  ScreenRect bar;
  ScreenPoint cursor;
  ScreenRect screen{0, 0, 1920, 1080};
  ScreenRect workArea{0, 0, 1920, 1040};
  std::vector<MonitorArea> monitors;
  bool visible = true;
  bool stopsFail = false;
  std::map<unsigned, unsigned> timers;  // running id -> period
  int placements = 0;

  ScreenRect BarRect() const override { return bar; }
  ScreenPoint CursorPos() const override { return cursor; }
  std::vector<MonitorArea> Monitors() const override {
    if (!monitors.empty()) return monitors;
    return {{screen, workArea}};
  }
  void StartTimer(unsigned id, unsigned periodMs) override { timers[id] = periodMs; }
  bool StopTimer(unsigned id) override { return !stopsFail && timers.erase(id) == 1; }
  void PlaceBarAt(int x, int y) override {
    MoveBarTo(x, y);
    visible = true;
    ++placements;
  }
  void MoveBarTo(int x, int y) override {
    bar = {x, y, x + bar.Width(), y + bar.Height()};
  }
  bool Running(unsigned id) const { return timers.count(id) == 1; }
};

ScreenRect At(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }

// A 1920 x 1080 screen with a 40-pixel taskbar at the bottom, E = 2, F = 4,
// and a free 370 x 47 bar.
struct Scene {
  FakeDesktop desk;
  DockingEngine engine{desk};

  explicit Scene(ScreenRect taskbar = {0, 1040, 1920, 1080}) {
    engine.MeasureSizes(taskbar, 2, 4);
    desk.bar = At(700, 480, 370, 47);
  }
  Scene(const std::vector<MonitorArea>& monitors, ScreenRect taskbar) : Scene(taskbar) {
    desk.monitors = monitors;
  }

  // One WM_MOVING with the bar's current size at (x, y); the system then
  // moves the window to the rectangle as adjusted.
  ScreenRect Drag(ScreenPoint cursor, int x, int y) {
    desk.cursor = cursor;
    ScreenRect proposed = At(x, y, desk.bar.Width(), desk.bar.Height());
    engine.SnapWhileMoving(proposed);
    desk.bar = proposed;
    return proposed;
  }
  void Tick(const TimerSpec& timer) {
    ASSERT_TRUE(desk.Running(timer.id)) << "timer " << timer.id;
    engine.OnTimer(timer.id);
  }
  // Ticks the motion timer until it stops, collecting the bar after every
  // step: a motion ends one tick after its last step, which moves nothing.
  std::vector<ScreenRect> RunMotion() {
    std::vector<ScreenRect> steps;
    for (int tick = 0; tick < 100 && desk.Running(kMotionTimer.id); ++tick) {
      const int placed = desk.placements;
      engine.OnTimer(kMotionTimer.id);
      if (desk.placements != placed) {
        steps.push_back(desk.bar);
        EXPECT_EQ(desk.placements, placed + 1);
      } else {
        EXPECT_FALSE(desk.Running(kMotionTimer.id)) << "a tick that moved nothing";
      }
    }
    EXPECT_TRUE(engine.MotionDone());
    return steps;
  }
  // Docked at the top and revealed, with the leave watch running.
  void DockTopWatched(ScreenPoint cursorOnBar = {900, 20}) {
    Drag({900, 5}, 700, 400);
    desk.cursor = cursorOnBar;
    engine.OnHitTest(cursorOnBar);
    RunMotion();
  }
};

TEST(Docking, MeasuresTheTaskbarOrKeepsThirty) {
  FakeDesktop desk;
  DockingEngine engine(desk);
  EXPECT_EQ(engine.Side(), DockSide::None);
  EXPECT_EQ(engine.SavedHeight(), 47);
  EXPECT_TRUE(engine.MotionDone());
  engine.MeasureSizes(std::nullopt, 1, 3);
  EXPECT_EQ(engine.TaskbarHeight(), 30);
  EXPECT_EQ(engine.EdgeInset(), 1);
  EXPECT_EQ(engine.PeekSize(), 3);
  engine.MeasureSizes(ScreenRect{0, 1040, 1920, 1080}, 2, 4);
  EXPECT_EQ(engine.TaskbarHeight(), 40);
}

TEST(Docking, SnapsByTheCursorTopAndBottomBeforeSides) {
  // SW - 20 = 1900; SH - TB - 20 = 1020.
  struct Case { ScreenPoint cursor; DockSide side; ScreenRect placed; } cases[] = {
      {{900, 20}, DockSide::Top, At(700, -2, 370, 47)},
      {{900, 21}, DockSide::None, At(700, 500, 370, 47)},
      {{900, 1019}, DockSide::None, At(700, 500, 370, 47)},
      {{900, 1020}, DockSide::Bottom, At(700, 993, 370, 47)},
      {{19, 600}, DockSide::Left, At(0, 500, 370, 47)},
      {{-300, 600}, DockSide::Left, At(0, 500, 370, 47)},
      {{20, 600}, DockSide::None, At(700, 500, 370, 47)},
      {{1899, 600}, DockSide::None, At(700, 500, 370, 47)},
      {{1900, 600}, DockSide::Right, At(1550, 500, 370, 47)},
      {{5, 5}, DockSide::Top, At(700, -2, 370, 47)},
      {{1915, 10}, DockSide::Top, At(700, -2, 370, 47)},
      {{5, 1075}, DockSide::Bottom, At(700, 993, 370, 47)},
      {{1915, 1030}, DockSide::Bottom, At(700, 993, 370, 47)},
  };
  for (const auto& c : cases) {
    Scene s;
    EXPECT_EQ(s.Drag(c.cursor, 700, 500), c.placed) << c.cursor.x << "," << c.cursor.y;
    EXPECT_EQ(s.engine.Side(), c.side) << c.cursor.x << "," << c.cursor.y;
    EXPECT_EQ(s.engine.SideDocked(), c.side == DockSide::Left || c.side == DockSide::Right);
  }
}

// Each side from the snap through a reveal, a retract and a reveal from the
// strip: every motion from these positions takes exactly one step.
TEST(Docking, DockRevealRetractCycleOnEverySide) {
  struct Case {
    DockSide side;
    ScreenPoint dragCursor;
    ScreenRect snapped, revealed, retracted;
    ScreenPoint onStrip;
  } cases[] = {
      {DockSide::Top, {900, 3}, At(700, -2, 370, 47), At(700, -2, 370, 47), At(700, -43, 370, 47),
       {800, 1}},
      // Just above the taskbar while dragged, over it when revealed, a strip
      // of F pixels at the very bottom when retracted.
      {DockSide::Bottom, {900, 1030}, At(700, 993, 370, 47), At(700, 1033, 370, 47),
       At(700, 1076, 370, 47), {800, 1078}},
      {DockSide::Left, {3, 600}, At(0, 500, 370, 47), At(0, 500, 370, 47), At(-366, 500, 370, 47),
       {1, 520}},
      {DockSide::Right, {1910, 600}, At(1550, 500, 370, 47), At(1550, 500, 370, 47),
       At(1916, 500, 370, 47), {1918, 520}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.side));
    Scene s;
    EXPECT_EQ(s.Drag(c.dragCursor, 700, 500), c.snapped);

    s.desk.cursor = {c.snapped.left + 5, c.snapped.bottom - 5};
    s.engine.OnHitTest(s.desk.cursor);
    EXPECT_TRUE(s.engine.LeaveWatchRunning());
    EXPECT_EQ(s.desk.timers, (std::map<unsigned, unsigned>{{1, 200}, {2, 1}}));
    EXPECT_EQ(s.RunMotion(), std::vector<ScreenRect>{c.revealed});

    s.Tick(kLeaveWatchTimer);  // the cursor is still on the bar
    EXPECT_TRUE(s.desk.Running(kLeaveWatchTimer.id));
    s.desk.cursor = {960, 540};
    s.Tick(kLeaveWatchTimer);
    EXPECT_FALSE(s.desk.Running(kLeaveWatchTimer.id));
    EXPECT_FALSE(s.engine.LeaveWatchRunning());
    EXPECT_EQ(s.RunMotion(), std::vector<ScreenRect>{c.retracted});
    EXPECT_TRUE(s.engine.Retracting());  // stays set: the bar is docked and retracted

    s.desk.cursor = c.onStrip;
    s.engine.OnHitTest(s.desk.cursor);
    EXPECT_FALSE(s.engine.Retracting());
    EXPECT_EQ(s.RunMotion(), std::vector<ScreenRect>{c.revealed});
  }
}

TEST(Docking, LeaveWatchCountsTheMarginAsInside) {
  // The top-docked bar (700, -2, 1070, 45) grown by 10: x 690..1079, y -12..54.
  struct Case { ScreenPoint cursor; bool left; } cases[] = {
      {{690, 20}, false}, {{689, 20}, true}, {{1079, 54}, false},
      {{1080, 20}, true}, {{900, 55}, true}, {{900, -12}, false},
  };
  for (const auto& c : cases) {
    Scene s;
    s.DockTopWatched();
    s.desk.cursor = c.cursor;
    s.Tick(kLeaveWatchTimer);
    EXPECT_EQ(!s.engine.LeaveWatchRunning(), c.left) << c.cursor.x << "," << c.cursor.y;
    EXPECT_EQ(s.desk.Running(kMotionTimer.id), c.left);
    EXPECT_EQ(s.engine.Retracting(), c.left);
  }
}

TEST(Docking, HitTestStartsARevealOnlyOnADockedBarNotYetWatched) {
  Scene s;
  s.engine.OnHitTest({800, 500});
  EXPECT_TRUE(s.desk.timers.empty());  // free bar

  s.Drag({1910, 600}, 700, 500);  // right edge, SW = 1920
  s.engine.OnHitTest({1930, 500});
  EXPECT_TRUE(s.desk.timers.empty());  // x = SW + 10
  s.engine.OnHitTest({1929, 500});
  EXPECT_TRUE(s.engine.LeaveWatchRunning());
  EXPECT_FALSE(s.engine.MotionDone());

  s.desk.timers.clear();
  s.engine.OnHitTest({1929, 500});  // the watch runs already
  EXPECT_TRUE(s.desk.timers.empty());
}

TEST(Docking, TaskbarAtASideSnapsEveryLowerDragAboveTheScreen) {
  // A vertical taskbar is as tall as the screen: TB = SH.
  Scene s(ScreenRect{0, 0, 62, 1080});
  for (ScreenPoint cursor : {ScreenPoint{900, 21}, ScreenPoint{5, 500}, ScreenPoint{1915, 900},
                             ScreenPoint{900, 1079}}) {
    EXPECT_EQ(s.Drag(cursor, 700, 500), At(700, -47, 370, 47)) << cursor.x << "," << cursor.y;
    EXPECT_EQ(s.engine.Side(), DockSide::Bottom);
  }
  EXPECT_EQ(s.Drag({900, 20}, 700, 500), At(700, -2, 370, 47));
  s.Drag({900, 300}, 700, 500);

  s.engine.RevealStep();  // ShowBar brings it onto the bottom edge at once
  EXPECT_EQ(s.desk.bar, At(700, 1033, 370, 47));
  s.desk.cursor = {800, 1050};
  s.engine.OnHitTest(s.desk.cursor);
  EXPECT_EQ(s.RunMotion(), std::vector<ScreenRect>{At(700, 1033, 370, 47)});
  s.desk.cursor = {800, 500};
  s.Tick(kLeaveWatchTimer);
  EXPECT_EQ(s.RunMotion(), std::vector<ScreenRect>{At(700, 1076, 370, 47)});
}

TEST(Docking, SideDockedBarGetsBackItsFirstHeightWhenDraggedFree) {
  Scene s;
  s.desk.bar = At(700, 480, 370, 60);
  ScreenRect proposed = At(700, 500, 370, 80);  // only the window's own height counts
  s.desk.cursor = {5, 600};
  s.engine.SnapWhileMoving(proposed);
  s.desk.bar = proposed;
  EXPECT_EQ(s.engine.SavedHeight(), 60);

  s.desk.bar = At(0, 500, 370, 120);  // resized while docked
  s.Drag({1915, 600}, 700, 500);      // over to the other side: still the first height
  EXPECT_EQ(s.engine.SavedHeight(), 60);
  EXPECT_EQ(s.Drag({900, 600}, 700, 500), At(700, 500, 370, 60));
  EXPECT_FALSE(s.engine.SideDocked());
  // Top and bottom docking keep the height as it is.
  s.desk.bar = At(700, 500, 370, 90);
  s.Drag({900, 5}, 700, 500);
  EXPECT_EQ(s.Drag({900, 600}, 700, 500), At(700, 500, 370, 90));
}

TEST(Docking, DraggingFreeStopsTheLeaveWatch) {
  Scene s;
  s.DockTopWatched();
  s.Drag({900, 400}, 700, 380);
  EXPECT_EQ(s.engine.Side(), DockSide::None);
  EXPECT_FALSE(s.engine.LeaveWatchRunning());
  EXPECT_FALSE(s.desk.Running(kLeaveWatchTimer.id));
  // A free bar never retracts: nothing is left to notice the cursor leaving.
  EXPECT_TRUE(s.desk.timers.empty());
  EXPECT_EQ(s.desk.bar, At(700, 380, 370, 47));

  // The flag is cleared only when the timer really stopped.
  Scene failing;
  failing.DockTopWatched();
  failing.desk.stopsFail = true;
  failing.Drag({900, 400}, 700, 380);
  EXPECT_EQ(failing.engine.Side(), DockSide::None);
  EXPECT_TRUE(failing.engine.LeaveWatchRunning());
}

TEST(Docking, DoubleClickOnADockedBarAndTheJourneyBack) {
  Scene s;
  s.desk.bar = At(600, 300, 370, 90);
  s.DockTopWatched();
  ASSERT_EQ(s.desk.bar, At(700, -2, 370, 90));
  const int placed = s.desk.placements;
  s.engine.MoveToCorner(0);  // the mouse stays where it was, on the top edge
  EXPECT_EQ(s.desk.bar, At(0, 810, 370, 90));
  EXPECT_EQ(s.desk.placements, placed);  // moved without a z-order change
  EXPECT_EQ(s.engine.Side(), DockSide::Top);

  s.Tick(kLeaveWatchTimer);
  std::vector<ScreenRect> expected;
  for (int top = 720; top >= 0; top -= 90) expected.push_back(At(0, top, 370, 90));
  expected.push_back(At(0, 4 - 90, 370, 90));  // B = F
  for (size_t i = 0; i < expected.size(); ++i) {
    s.Tick(kMotionTimer);
    EXPECT_EQ(s.desk.bar, expected[i]) << "step " << i;
    EXPECT_EQ(s.engine.MotionDone(), i + 1 == expected.size()) << "step " << i;
  }
  s.Tick(kMotionTimer);  // the tick after the last step only stops the motion
  EXPECT_FALSE(s.desk.Running(kMotionTimer.id));
  EXPECT_EQ(s.desk.bar, expected.back());
  EXPECT_TRUE(s.engine.Retracting());
}

TEST(Docking, MoveToCornerUsesSixSeventhsOfTheFreeHeight) {
  struct Case { int doubleClickRight; ScreenRect workArea; int width, height; ScreenPoint at; } cases[] = {
      {0, {0, 0, 1920, 1040}, 370, 90, {0, 810}},  // (1040 - 90) / 7 = 135, x 6
      {1, {0, 0, 1920, 1040}, 370, 90, {1550, 810}},
      {2, {0, 0, 1920, 1040}, 370, 90, {0, 810}},
      {-1, {0, 0, 1920, 1040}, 370, 90, {0, 810}},
      {1, {0, 0, 1280, 770}, 370, 47, {910, 618}},
      {0, {62, 0, 1920, 1080}, 370, 90, {0, 846}},  // the screen's left edge
      {1, {62, 0, 1920, 1080}, 370, 90, {1550, 846}},
      {0, {0, 0, 1920, 50}, 370, 90, {0, -30}},  // -40 / 7 truncates to -5
  };
  for (const auto& c : cases) {
    Scene s;
    s.desk.workArea = c.workArea;
    s.desk.bar = At(300, 300, c.width, c.height);
    s.engine.MoveToCorner(c.doubleClickRight);
    EXPECT_EQ(s.desk.bar, At(c.at.x, c.at.y, c.width, c.height)) << c.doubleClickRight;
  }
}

TEST(Docking, HiddenBarComesBackRetractedOnceTheCursorIsAway) {
  Scene s;
  s.DockTopWatched();
  s.desk.visible = false;  // Esc or the hide command
  s.desk.cursor = {900, 600};
  s.Tick(kLeaveWatchTimer);
  EXPECT_EQ(s.RunMotion(), std::vector<ScreenRect>{At(700, -43, 370, 47)});
  EXPECT_TRUE(s.desk.visible);
}

TEST(Docking, RevealStepCalledDirectlyBringsOutARetractedBar) {
  Scene s;
  s.Drag({1910, 600}, 700, 500);
  s.engine.OnHitTest({1915, 510});
  s.RunMotion();
  s.desk.cursor = {900, 600};
  s.Tick(kLeaveWatchTimer);
  s.RunMotion();
  ASSERT_EQ(s.desk.bar, At(1916, 500, 370, 47));
  ASSERT_TRUE(s.engine.Retracting());

  s.engine.RevealStep();  // the hotkey or ShowBar
  EXPECT_EQ(s.desk.bar, At(1550, 500, 370, 47));
  EXPECT_TRUE(s.desk.timers.empty());  // it stays out until entered and left
  s.engine.ClearRetracting();
  EXPECT_FALSE(s.engine.Retracting());

  Scene free;
  free.engine.RevealStep();
  free.engine.RetractStep();
  EXPECT_EQ(free.desk.placements, 0);
  EXPECT_EQ(free.desk.bar, At(700, 480, 370, 47));
}

// A bar dragged free in the middle of a motion: the motion ends on its next
// tick instead of ticking on with nothing to move, and does not resume when
// the bar is docked again.
TEST(Docking, MotionOfABarDraggedFreeEnds) {
  Scene s;
  s.desk.bar = At(600, 300, 370, 90);
  s.DockTopWatched();
  s.engine.MoveToCorner(1);
  s.Tick(kLeaveWatchTimer);
  s.Tick(kMotionTimer);
  s.Tick(kMotionTimer);
  ASSERT_EQ(s.desk.bar, At(1550, 630, 370, 90));

  s.Drag({1700, 700}, 1500, 650);
  const int placed = s.desk.placements;
  s.Tick(kMotionTimer);
  EXPECT_FALSE(s.desk.Running(kMotionTimer.id));
  EXPECT_TRUE(s.engine.MotionDone());
  EXPECT_EQ(s.desk.placements, placed);
  s.Drag({1700, 10}, 1500, 0);
  EXPECT_TRUE(s.desk.timers.empty());
  EXPECT_EQ(s.desk.bar, At(1500, -2, 370, 90));
}

// One step from just inside or exactly at the distance that reaches the
// limit: only the step that lands on the limit ends the motion.
TEST(Docking, StepsStopExactlyAtTheirLimits) {
  struct Case { ScreenPoint dock; bool retract; int start, end; bool done; } cases[] = {
      // The coordinate is the bar's top for Top and Bottom, its left otherwise.
      {{900, 5}, true, 4, -43, true},       {{900, 5}, true, 5, -42, false},
      {{900, 1030}, true, 1029, 1076, true}, {{900, 1030}, true, 1028, 1075, false},
      {{5, 600}, true, 4, -366, true},      {{5, 600}, true, 5, -365, false},
      {{1915, 600}, true, 1546, 1916, true}, {{1915, 600}, true, 1545, 1915, false},
      {{900, 5}, false, -49, -2, true},     {{900, 5}, false, -50, -3, false},
      {{900, 1030}, false, 1080, 1033, true}, {{900, 1030}, false, 1081, 1034, false},
      {{5, 600}, false, -370, 0, true},     {{5, 600}, false, -371, -1, false},
      {{1915, 600}, false, 1920, 1550, true}, {{1915, 600}, false, 1921, 1551, false},
  };
  for (const auto& c : cases) {
    Scene s;
    s.Drag(c.dock, 700, 500);
    s.engine.OnHitTest({0, 0});  // a motion is under way
    const bool vertical = s.engine.Side() == DockSide::Top || s.engine.Side() == DockSide::Bottom;
    s.desk.bar = vertical ? At(700, c.start, 370, 47) : At(c.start, 500, 370, 47);
    c.retract ? s.engine.RetractStep() : s.engine.RevealStep();
    EXPECT_EQ(s.desk.bar, vertical ? At(700, c.end, 370, 47) : At(c.end, 500, 370, 47))
        << int(s.engine.Side()) << " from " << c.start;
    EXPECT_EQ(s.engine.MotionDone(), c.done) << int(s.engine.Side()) << " from " << c.start;
  }
}

TEST(Docking, EnforceMinimumSizeByDraggedEdge) {
  using E = SizingEdge;
  // Proposed rectangles anchored at (100, 100); expected ones likewise.
  struct Case { E edge; ScreenRect proposed, result; } cases[] = {
      {E::Left, {200, 100, 400, 147}, {114, 100, 400, 147}},
      {E::Left, {100, 100, 500, 130}, {214, 100, 500, 130}},  // only the height is short
      {E::Right, {100, 100, 300, 147}, {100, 100, 386, 147}},
      {E::Top, {100, 120, 400, 147}, {100, 100, 400, 147}},
      {E::Top, {100, 100, 250, 160}, {100, 113, 250, 160}},   // only the width is short
      {E::Bottom, {100, 100, 400, 130}, {100, 100, 400, 147}},
      {E::TopLeft, {200, 100, 400, 160}, {114, 100, 400, 160}},
      {E::TopLeft, {100, 120, 500, 147}, {100, 100, 500, 147}},
      {E::TopLeft, {200, 120, 400, 147}, {114, 100, 400, 147}},
      {E::TopRight, {100, 120, 300, 147}, {100, 100, 386, 147}},
      {E::BottomLeft, {100, 100, 400, 130}, {100, 100, 400, 147}},
      {E::BottomRight, {100, 100, 300, 130}, {100, 100, 386, 147}},
      {E::BottomRight, {100, 100, 386, 147}, {100, 100, 386, 147}},  // at the minimum
      {E::Left, {100, 100, 386, 147}, {100, 100, 386, 147}},
      {static_cast<E>(9), {100, 100, 200, 120}, {100, 100, 200, 120}},
  };
  for (const auto& c : cases) {
    ScreenRect r = c.proposed;
    DockingEngine::EnforceMinimumSize(c.edge, r);
    EXPECT_EQ(r, c.result) << static_cast<int>(c.edge) << " " << c.proposed.left << ","
                           << c.proposed.top << "," << c.proposed.right << "," << c.proposed.bottom;
  }
}

}  // namespace

// ---- Several monitors.

// A 1280 x 800 primary with a 30-pixel taskbar and a 1024 x 768 monitor to its
// right: below the shorter one is a dead zone no cursor reaches.
const std::vector<MonitorArea> kSideBySide = {
    {{0, 0, 1280, 800}, {0, 0, 1280, 770}},
    {{1280, 0, 2304, 768}, {1280, 0, 2304, 768}},
};
const ScreenRect kSideBySideTaskbar{0, 770, 1280, 800};
// A 1920 x 1080 primary, a 1280 x 1024 monitor left of it (bottoms aligned)
// and one of the primary's size above it.
const std::vector<MonitorArea> kLeftAndAbove = {
    {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
    {{-1280, 56, 0, 1080}, {-1280, 56, 0, 1080}},
    {{0, -1080, 1920, 0}, {0, -1080, 1920, 0}},
};
const ScreenRect kPrimaryTaskbar{0, 1040, 1920, 1080};
const std::vector<MonitorArea> kThreeInARow = {
    {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
    {{-1920, 0, 0, 1080}, {-1920, 0, 0, 1080}},
    {{1920, 0, 3840, 1080}, {1920, 0, 3840, 1080}},
};

// Each drag proposes the bar (370 x 47) at `at` with the cursor at `cursor`.
TEST(DockingMonitors, SnapsOnlyAtOuterEdgesOfTheMonitorUnderTheCursor) {
  struct Case {
    const char* what;
    const std::vector<MonitorArea>* layout;
    ScreenPoint cursor, at;
    DockSide side;
    ScreenPoint placed;
  } cases[] = {
      {"middle of the second", &kSideBySide, {1800, 400}, {1700, 380}, DockSide::None, {1700, 380}},
      {"second's top", &kSideBySide, {1800, 10}, {1700, 5}, DockSide::Top, {1700, -2}},
      {"second's right", &kSideBySide, {2300, 400}, {2000, 380}, DockSide::Right, {1934, 380}},
      // No taskbar there: its bottom is the monitor's.
      {"second's bottom", &kSideBySide, {1800, 750}, {1700, 700}, DockSide::Bottom, {1700, 721}},
      {"second's top, hanging over the primary", &kSideBySide, {1290, 10}, {1200, 5},
       DockSide::Top, {1280, -2}},
      {"primary's top, hanging over the second", &kSideBySide, {1250, 10}, {1200, 5},
       DockSide::Top, {910, -2}},
      {"primary's bottom, hanging over the second", &kSideBySide, {1250, 760}, {1200, 700},
       DockSide::Bottom, {910, 723}},
      {"shared edge from the primary", &kSideBySide, {1279, 400}, {1200, 380}, DockSide::None,
       {1200, 380}},
      {"shared edge from the second", &kSideBySide, {1280, 400}, {1200, 380}, DockSide::None,
       {1200, 380}},
      {"primary's left", &kSideBySide, {5, 400}, {100, 380}, DockSide::Left, {0, 380}},
      {"left monitor's middle", &kLeftAndAbove, {-640, 500}, {-800, 480}, DockSide::None,
       {-800, 480}},
      {"left monitor's left", &kLeftAndAbove, {-1275, 500}, {-1200, 480}, DockSide::Left,
       {-1280, 480}},
      {"left monitor's top", &kLeftAndAbove, {-640, 70}, {-800, 60}, DockSide::Top, {-800, 54}},
      {"left monitor's bottom", &kLeftAndAbove, {-640, 1070}, {-800, 1000}, DockSide::Bottom,
       {-800, 1033}},
      {"primary's top under the upper monitor", &kLeftAndAbove, {900, 10}, {700, 5},
       DockSide::None, {700, 5}},
      {"primary's left beside the left monitor", &kLeftAndAbove, {10, 500}, {0, 480},
       DockSide::None, {0, 480}},
      {"upper monitor's top", &kLeftAndAbove, {900, -1070}, {700, -1075}, DockSide::Top,
       {700, -1082}},
      {"upper monitor's right", &kLeftAndAbove, {1915, -500}, {1500, -520}, DockSide::Right,
       {1550, -520}},
      {"upper monitor's bottom is the primary's top", &kLeftAndAbove, {900, -5}, {700, -30},
       DockSide::None, {700, -30}},
      {"primary's bottom, above its taskbar", &kLeftAndAbove, {900, 1025}, {700, 1000},
       DockSide::Bottom, {700, 993}},
      {"middle's right in a row", &kThreeInARow, {1910, 500}, {1700, 480}, DockSide::None,
       {1700, 480}},
      {"middle's left in a row", &kThreeInARow, {10, 500}, {-100, 480}, DockSide::None,
       {-100, 480}},
      {"right one's right", &kThreeInARow, {3835, 500}, {3000, 480}, DockSide::Right,
       {3470, 480}},
      {"left one's left", &kThreeInARow, {-1915, 500}, {-1800, 480}, DockSide::Left,
       {-1920, 480}},
      {"right one's bottom has no taskbar", &kThreeInARow, {2500, 1030}, {2400, 1000},
       DockSide::None, {2400, 1000}},
      {"right one's bottom", &kThreeInARow, {2500, 1065}, {2400, 1000}, DockSide::Bottom,
       {2400, 1033}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Scene s(*c.layout, c.layout == &kSideBySide ? kSideBySideTaskbar : kPrimaryTaskbar);
    EXPECT_EQ(s.Drag(c.cursor, c.at.x, c.at.y), At(c.placed.x, c.placed.y, 370, 47));
    EXPECT_EQ(s.engine.Side(), c.side);
  }
}

// Docked on a monitor that is not the primary: the bar reveals and retracts
// against that monitor's edge, the strip stays on it, the hotkey's reveal
// brings it out there, and a double click uses that monitor's work area.
TEST(DockingMonitors, RetractRevealAndCornerOnTheMonitorDockedOn) {
  struct Case {
    const char* what;
    const std::vector<MonitorArea>* layout;
    ScreenPoint dragCursor, at;
    ScreenRect revealed, retracted;
    ScreenPoint onStrip, cornerRight, cornerLeft;
  } cases[] = {
      {"second's top", &kSideBySide, {1800, 5}, {1700, 5}, At(1700, -2, 370, 47),
       At(1700, -43, 370, 47), {1800, 1}, {1934, 618}, {1280, 618}},
      {"second's right", &kSideBySide, {2300, 400}, {2000, 380}, At(1934, 380, 370, 47),
       At(2300, 380, 370, 47), {2302, 400}, {1934, 618}, {1280, 618}},
      {"second's bottom", &kSideBySide, {1800, 760}, {1700, 700}, At(1700, 721, 370, 47),
       At(1700, 764, 370, 47), {1800, 766}, {1934, 618}, {1280, 618}},
      {"left monitor's left", &kLeftAndAbove, {-1275, 500}, {-1200, 480}, At(-1280, 480, 370, 47),
       At(-1646, 480, 370, 47), {-1278, 500}, {-370, 56 + 139 * 6}, {-1280, 56 + 139 * 6}},
      {"upper monitor's top", &kLeftAndAbove, {900, -1075}, {700, -1075},
       At(700, -1082, 370, 47), At(700, -1123, 370, 47), {900, -1079}, {1550, -1080 + 147 * 6},
       {0, -1080 + 147 * 6}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Scene s(*c.layout, c.layout == &kSideBySide ? kSideBySideTaskbar : kPrimaryTaskbar);
    s.Drag(c.dragCursor, c.at.x, c.at.y);
    s.desk.cursor = c.onStrip;
    s.engine.OnHitTest(s.desk.cursor);
    EXPECT_EQ(s.RunMotion(), std::vector<ScreenRect>{c.revealed});
    s.desk.cursor = {640, 400};
    s.Tick(kLeaveWatchTimer);
    EXPECT_EQ(s.RunMotion(), std::vector<ScreenRect>{c.retracted});
    s.engine.OnHitTest(c.onStrip);  // the hit-test slack counts from this monitor's right
    EXPECT_TRUE(s.engine.LeaveWatchRunning());
    EXPECT_EQ(s.RunMotion(), std::vector<ScreenRect>{c.revealed});

    s.desk.cursor = {640, 400};
    s.Tick(kLeaveWatchTimer);
    s.RunMotion();
    s.engine.RevealStep();  // the hotkey or the tray's show command
    EXPECT_EQ(s.desk.bar, c.revealed);

    s.engine.MoveToCorner(1);
    EXPECT_EQ(s.desk.bar, At(c.cornerRight.x, c.cornerRight.y, 370, 47));
    s.engine.MoveToCorner(0);
    EXPECT_EQ(s.desk.bar, At(c.cornerLeft.x, c.cornerLeft.y, 370, 47));
  }
}

TEST(DockingMonitors, HitTestSlackCountsFromTheDockedMonitorsRight) {
  Scene s(kSideBySide, kSideBySideTaskbar);
  s.Drag({1250, 10}, 1200, 5);  // the primary's top, kept left of x = 1280
  s.engine.OnHitTest({1290, 2});
  EXPECT_FALSE(s.engine.LeaveWatchRunning());
  s.engine.OnHitTest({1289, 2});
  EXPECT_TRUE(s.engine.LeaveWatchRunning());
}

TEST(DockingMonitors, CornerOfAFreeBarIsInTheMonitorShowingMostOfIt) {
  Scene s(kLeftAndAbove, kPrimaryTaskbar);
  s.desk.bar = At(-300, 500, 370, 47);  // mostly on the left monitor
  s.engine.MoveToCorner(1);
  EXPECT_EQ(s.desk.bar, At(-370, 56 + 139 * 6, 370, 47));
  s.desk.bar = At(-100, 500, 370, 47);  // mostly on the primary
  s.engine.MoveToCorner(0);
  EXPECT_EQ(s.desk.bar, At(0, 846, 370, 47));
}

// The bar when the monitors or a work area change: docked on `dockCursor`
// (none: free at `bar`), retracted there, then the layout becomes `after`.
TEST(DockingMonitors, DisplayChangeFreesABarWhoseEdgeIsGoneAndBringsItOnScreen) {
  const std::vector<MonitorArea> primaryOnly(kSideBySide.begin(), kSideBySide.begin() + 1);
  const std::vector<MonitorArea> bigPrimary = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}}};
  const std::vector<MonitorArea> withAbove = {kSideBySide[0], kSideBySide[1],
                                              {{0, -800, 1280, 0}, {0, -800, 1280, 0}}};
  struct Case {
    const char* what;
    std::vector<MonitorArea> before, after;
    std::optional<ScreenPoint> dockCursor;
    ScreenRect bar;  // where it is when the change comes
    DockSide side;
    ScreenRect placed;
  } cases[] = {
      {"second monitor removed under a bar docked on it", kSideBySide, primaryOnly,
       ScreenPoint{1800, 5}, At(1700, 5, 370, 47), DockSide::None, At(910, 0, 370, 47)},
      {"nothing changed: a retracted bar stays", kSideBySide, kSideBySide, ScreenPoint{1800, 5},
       At(1700, 5, 370, 47), DockSide::Top, At(1700, -43, 370, 47)},
      {"the other monitor removed", kSideBySide, primaryOnly, ScreenPoint{5, 400},
       At(100, 380, 370, 47), DockSide::Left, At(-366, 380, 370, 47)},
      {"a monitor put above the docked edge", kSideBySide, withAbove, ScreenPoint{640, 5},
       At(500, 5, 370, 47), DockSide::None, At(500, -43, 370, 47)},
      {"left monitor removed", kLeftAndAbove,
       std::vector<MonitorArea>(kLeftAndAbove.begin(), kLeftAndAbove.begin() + 1),
       ScreenPoint{-1275, 500}, At(-1200, 480, 370, 47), DockSide::None, At(0, 480, 370, 47)},
      {"primary got smaller under a right-docked bar", bigPrimary, primaryOnly,
       ScreenPoint{1915, 400}, At(1500, 380, 370, 47), DockSide::None, At(910, 380, 370, 47)},
      // Its top edge is where it was, along the bar too.
      {"primary got smaller under a top-docked bar", bigPrimary, primaryOnly, ScreenPoint{640, 5},
       At(500, 5, 370, 47), DockSide::Top, At(500, -43, 370, 47)},
      {"primary got narrower than a top-docked bar's middle", bigPrimary, primaryOnly,
       ScreenPoint{1500, 5}, At(1200, 5, 370, 47), DockSide::None, At(910, 0, 370, 47)},
      {"free in the dead zone", kSideBySide, kSideBySide, std::nullopt, At(1700, 750, 370, 47),
       DockSide::None, At(1700, 721, 370, 47)},
      {"free off every monitor", kSideBySide, kSideBySide, std::nullopt, At(3000, 100, 370, 47),
       DockSide::None, At(1934, 100, 370, 47)},
      // Nearer to the upper monitor than to the left one.
      {"free above and left of everything", kLeftAndAbove, kLeftAndAbove, std::nullopt,
       At(-2000, -2000, 370, 47), DockSide::None, At(0, -1080, 370, 47)},
      {"free across the shared edge stays", kSideBySide, kSideBySide, std::nullopt,
       At(1100, 300, 370, 47), DockSide::None, At(1100, 300, 370, 47)},
      {"free on the removed monitor", kSideBySide, primaryOnly, std::nullopt,
       At(1800, 300, 370, 47), DockSide::None, At(910, 300, 370, 47)},
      {"free over the taskbar stays", kSideBySide, kSideBySide, std::nullopt,
       At(300, 760, 370, 40), DockSide::None, At(300, 760, 370, 40)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Scene s(c.before, kSideBySideTaskbar);
    if (c.dockCursor) {
      s.Drag(*c.dockCursor, c.bar.left, c.bar.top);
      s.desk.cursor = *c.dockCursor;
      s.engine.OnHitTest(s.desk.cursor);
      s.RunMotion();
      s.desk.cursor = {5000, 5000};
      s.Tick(kLeaveWatchTimer);
      s.RunMotion();
      ASSERT_TRUE(s.engine.Retracting());
    } else {
      s.desk.bar = c.bar;
    }
    s.desk.monitors = c.after;
    s.engine.OnDisplayChange();
    EXPECT_EQ(s.engine.Side(), c.side);
    EXPECT_EQ(s.desk.bar, c.placed);
    if (c.side == DockSide::None) {
      // Free: nothing retracts it, and the hotkey takes it for a shown bar.
      EXPECT_FALSE(s.engine.Retracting());
      EXPECT_TRUE(s.desk.timers.empty());
    } else {
      // Still docked: it comes out against its edge on the monitor it is on now.
      EXPECT_TRUE(s.engine.Retracting());
      EXPECT_TRUE(std::any_of(c.after.begin(), c.after.end(), [&](const MonitorArea& m) {
        return m.area == s.engine.DockMonitor();
      }));
    }
  }
}

// A leave watch running when the edge goes is stopped with it.
TEST(DockingMonitors, DisplayChangeStopsTheWatchOfABarItFrees) {
  Scene s(kSideBySide, kSideBySideTaskbar);
  s.Drag({1800, 5}, 1700, 5);
  s.engine.OnHitTest({1800, 5});
  s.RunMotion();
  ASSERT_TRUE(s.engine.LeaveWatchRunning());
  s.desk.monitors.pop_back();
  s.engine.OnDisplayChange();
  EXPECT_FALSE(s.engine.LeaveWatchRunning());
  EXPECT_TRUE(s.desk.timers.empty());
  EXPECT_EQ(s.desk.bar, At(910, 0, 370, 47));
}
