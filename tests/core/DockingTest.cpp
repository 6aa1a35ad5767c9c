#include <gtest/gtest.h>

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
