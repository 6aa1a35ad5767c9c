#include "desktop/Docking.h"

#include "base/Dpi.h"

#include <algorithm>
#include <cstdint>

namespace {

bool Holds(const ScreenRect& rect, ScreenPoint point) {
  return rect.left <= point.x && point.x < rect.right && rect.top <= point.y &&
         point.y < rect.bottom;
}

bool Overlap(const ScreenRect& a, const ScreenRect& b) {
  return std::max(a.left, b.left) < std::min(a.right, b.right) &&
         std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

std::int64_t OverlapArea(const ScreenRect& a, const ScreenRect& b) {
  if (!Overlap(a, b)) return 0;
  return std::int64_t{std::min(a.right, b.right) - std::max(a.left, b.left)} *
         (std::min(a.bottom, b.bottom) - std::max(a.top, b.top));
}

// Squared distance from a point to the nearest pixel of a rectangle.
std::int64_t DistanceSquared(const ScreenRect& rect, ScreenPoint point) {
  const std::int64_t dx = point.x < rect.left ? rect.left - point.x
                          : point.x >= rect.right ? point.x - (rect.right - 1) : 0;
  const std::int64_t dy = point.y < rect.top ? rect.top - point.y
                          : point.y >= rect.bottom ? point.y - (rect.bottom - 1) : 0;
  return dx * dx + dy * dy;
}

bool OnAnyMonitor(const std::vector<MonitorArea>& monitors, ScreenPoint point) {
  return std::any_of(monitors.begin(), monitors.end(),
                     [&](const MonitorArea& m) { return Holds(m.area, point); });
}

// The monitor that holds the point, else the one nearest to it.
const MonitorArea& MonitorNear(const std::vector<MonitorArea>& monitors, ScreenPoint point) {
  return *std::min_element(monitors.begin(), monitors.end(),
                           [&](const MonitorArea& a, const MonitorArea& b) {
                             return DistanceSquared(a.area, point) < DistanceSquared(b.area, point);
                           });
}

// The monitor that shows most of the rectangle; when none shows any of it,
// the one nearest to its centre.
const MonitorArea& MonitorOf(const std::vector<MonitorArea>& monitors, const ScreenRect& rect) {
  const auto most = std::max_element(monitors.begin(), monitors.end(),
                                     [&](const MonitorArea& a, const MonitorArea& b) {
                                       return OverlapArea(a.area, rect) < OverlapArea(b.area, rect);
                                     });
  if (OverlapArea(most->area, rect) > 0) return *most;
  return MonitorNear(monitors, {rect.left + rect.Width() / 2, rect.top + rect.Height() / 2});
}

// Another monitor shows part of `band` (a band just beyond an edge of `own`).
bool OtherMonitorIn(const std::vector<MonitorArea>& monitors, const ScreenRect& own,
                    const ScreenRect& band) {
  return std::any_of(monitors.begin(), monitors.end(), [&](const MonitorArea& m) {
    return m.area != own && Overlap(m.area, band);
  });
}

// Every pixel of the rectangle is on some monitor (it may span several).
// The monitors' edges cut it into cells; each cell is wholly on a monitor or
// wholly off them all, so testing one pixel of each is enough.
bool OnMonitors(const std::vector<MonitorArea>& monitors, const ScreenRect& rect) {
  if (rect.Width() <= 0 || rect.Height() <= 0) return true;
  std::vector<int> xs{rect.left, rect.right};
  std::vector<int> ys{rect.top, rect.bottom};
  for (const MonitorArea& m : monitors) {
    for (int x : {m.area.left, m.area.right})
      if (rect.left < x && x < rect.right) xs.push_back(x);
    for (int y : {m.area.top, m.area.bottom})
      if (rect.top < y && y < rect.bottom) ys.push_back(y);
  }
  std::sort(xs.begin(), xs.end());
  std::sort(ys.begin(), ys.end());
  for (size_t i = 0; i + 1 < xs.size(); ++i) {
    if (xs[i] == xs[i + 1]) continue;
    for (size_t j = 0; j + 1 < ys.size(); ++j) {
      if (ys[j] != ys[j + 1] && !OnAnyMonitor(monitors, {xs[i], ys[j]})) return false;
    }
  }
  return true;
}

// Keeps [*low, *low + size) inside [from, to); the start wins when it is too small.
void Clamp(int& low, int size, int from, int to) { low = std::max(from, std::min(low, to - size)); }

}  // namespace

void DockingEngine::MeasureSizes(std::optional<ScreenRect> taskbarRect, int edgeInset,
                                 int peekSize, int dpi) {
  m_dpi = dpi;
  m_taskbarHeight = taskbarRect ? taskbarRect->Height() : Scaled(kDefaultTaskbarHeight);
  m_taskbarRect = taskbarRect;
  m_edgeInset = edgeInset;
  m_peekSize = peekSize;
}

int DockingEngine::Scaled(int length96) const { return ScaleToDpi(length96, m_dpi); }

// The measured taskbar belongs to the monitor that shows it (the primary when
// there is none); on another monitor whatever its work area leaves free at
// its bottom counts as its taskbar.
int DockingEngine::TaskbarHeightOn(const MonitorArea& monitor,
                                   const std::vector<MonitorArea>& all) const {
  const MonitorArea& owner = m_taskbarRect ? MonitorOf(all, *m_taskbarRect) : all.front();
  if (owner.area == monitor.area) return m_taskbarHeight;
  return std::max(0, monitor.area.bottom - monitor.workArea.bottom);
}

// In the monitor under the cursor. The first test that holds wins, so a
// corner snaps to the top or bottom edge. An edge with another monitor beyond
// it at the cursor is no edge: the bar crosses it freely.
void DockingEngine::SnapWhileMoving(ScreenRect& proposed) {
  const ScreenPoint cursor = m_host->CursorPos();
  const std::vector<MonitorArea> monitors = m_host->Monitors();
  const MonitorArea& monitor = MonitorNear(monitors, cursor);
  const ScreenRect screen = monitor.area;
  const int taskbar = TaskbarHeightOn(monitor, monitors);
  const int width = proposed.Width();
  const int height = proposed.Height();
  auto outer = [&](int x, int y) { return !OnAnyMonitor(monitors, {x, y}); };
  const int snap = Scaled(kSnapDistance);
  const bool nearLeft = cursor.x < screen.left + snap && outer(screen.left - 1, cursor.y);
  const bool nearRight = cursor.x >= screen.right - snap && outer(screen.right, cursor.y);

  if (cursor.y <= screen.top + snap && outer(cursor.x, screen.top - 1)) {
    proposed.top = screen.top - m_edgeInset;
    proposed.bottom = proposed.top + height;
    m_dockSide = DockSide::Top;
  } else if (cursor.y >= screen.bottom - taskbar - snap &&
             outer(cursor.x, screen.bottom)) {
    // Just above the taskbar while dragging; a reveal drops it onto the edge.
    proposed.top = screen.bottom - taskbar - height;
    proposed.bottom = screen.bottom - taskbar;
    m_dockSide = DockSide::Bottom;
  } else if (nearLeft || nearRight) {
    // The height it had before touching a side comes back when dragged free.
    if (!m_sideDocked) m_savedHeight = m_host->BarRect().Height();
    m_sideDocked = true;
    if (nearLeft) {
      proposed.left = screen.left;
      m_dockSide = DockSide::Left;
    } else {
      proposed.left = screen.right - width;
      m_dockSide = DockSide::Right;
    }
    proposed.right = proposed.left + width;
  } else {
    DragFree(proposed);
    return;
  }
  KeepOffNeighbours(proposed, screen, monitors);
  m_dockMonitor = screen;
}

// Dragged away from every edge: the height it had before a side comes back,
// and a free bar must never retract.
void DockingEngine::DragFree(ScreenRect& proposed) {
  if (m_sideDocked) {
    proposed.bottom = proposed.top + m_savedHeight;
    m_sideDocked = false;
  }
  if (m_leaveWatchRunning && m_host->StopTimer(kLeaveWatchTimer.id)) m_leaveWatchRunning = false;
  m_dockSide = DockSide::None;
}

// Along its edge a docked bar keeps its place, but stays off a neighbouring
// monitor: it would retract into it, or be docked half on each.
void DockingEngine::KeepOffNeighbours(ScreenRect& proposed, const ScreenRect& screen,
                                      const std::vector<MonitorArea>& monitors) const {
  const int width = proposed.Width();
  const int height = proposed.Height();
  const bool acrossX = m_dockSide == DockSide::Top || m_dockSide == DockSide::Bottom;
  int& low = acrossX ? proposed.left : proposed.top;
  const int size = acrossX ? width : height;
  const int from = acrossX ? screen.left : screen.top;
  const int to = acrossX ? screen.right : screen.bottom;
  const ScreenRect before = acrossX ? ScreenRect{low, screen.top, from, screen.bottom}
                                    : ScreenRect{screen.left, low, screen.right, from};
  const ScreenRect after = acrossX ? ScreenRect{to, screen.top, low + size, screen.bottom}
                                   : ScreenRect{screen.left, to, screen.right, low + size};
  if (OtherMonitorIn(monitors, screen, after)) low = std::min(low, to - size);
  if (OtherMonitorIn(monitors, screen, before)) low = std::max(low, from);
  if (acrossX) {
    proposed.right = proposed.left + width;
  } else {
    proposed.bottom = proposed.top + height;
  }
}

// The cursor is on the bar's surface (on a retracted bar, the strip left on
// screen): bring a docked bar out and watch for the cursor leaving it.
void DockingEngine::OnHitTest(ScreenPoint cursor) {
  if (m_dockSide == DockSide::None || m_leaveWatchRunning) return;
  if (cursor.x >= m_dockMonitor.right + Scaled(kHitTestSlack)) return;
  m_host->StartTimer(kLeaveWatchTimer.id, kLeaveWatchTimer.periodMs);
  m_leaveWatchRunning = true;
  StartMotion(false);
}

void DockingEngine::StartMotion(bool retract) {
  m_motionDone = false;
  m_retracting = retract;
  m_host->StartTimer(kMotionTimer.id, kMotionTimer.periodMs);
}

void DockingEngine::OnTimer(unsigned id) {
  if (id == kLeaveWatchTimer.id) {
    ScreenRect around = m_host->BarRect();
    const int margin = Scaled(kLeaveMargin);
    around.left -= margin;
    around.top -= margin;
    around.right += margin;
    around.bottom += margin;
    const ScreenPoint cursor = m_host->CursorPos();
    const bool inside = around.left <= cursor.x && cursor.x < around.right &&
                        around.top <= cursor.y && cursor.y < around.bottom;
    if (!inside) {
      m_host->StopTimer(kLeaveWatchTimer.id);
      m_leaveWatchRunning = false;
      StartMotion(true);
    }
  } else if (id == kMotionTimer.id) {
    // A bar dragged free in the middle of a motion has no edge to move
    // toward: the motion ends instead of ticking on with nothing to do.
    if (!m_motionDone && m_dockSide == DockSide::None) m_motionDone = true;
    if (m_motionDone) {
      m_host->StopTimer(kMotionTimer.id);
    } else if (m_retracting) {
      RetractStep();
    } else {
      RevealStep();
    }
  }
}

// Moves `position` by `delta` (its sign is the direction) and stops at
// `limit` once the step reaches or passes it, which ends the motion.
int DockingEngine::StepTo(int position, int delta, int limit) {
  const int next = position + delta;
  if (delta < 0 ? next > limit : next < limit) return next;
  m_motionDone = true;
  return limit;
}

// Where a docked bar of this size stands on its edge: retracted, only
// m_peekSize pixels on its monitor; revealed, wholly on it (at the top
// m_edgeInset pixels above it; at the bottom on the monitor's edge, over the
// taskbar).
ScreenPoint DockingEngine::EdgePosition(const ScreenRect& bar, bool retracted) const {
  const ScreenRect& screen = m_dockMonitor;
  ScreenPoint at{bar.left, bar.top};
  switch (m_dockSide) {
    case DockSide::Top:
      at.y = retracted ? screen.top + m_peekSize - bar.Height() : screen.top - m_edgeInset;
      break;
    case DockSide::Bottom:
      at.y = retracted ? screen.bottom - m_peekSize : screen.bottom - bar.Height();
      break;
    case DockSide::Left:
      at.x = retracted ? screen.left + m_peekSize - bar.Width() : screen.left;
      break;
    case DockSide::Right:
      at.x = retracted ? screen.right - m_peekSize : screen.right - bar.Width();
      break;
    case DockSide::None:
      break;
  }
  return at;
}

// One whole height (or width) toward the bar's edge position, retracted or
// revealed.
void DockingEngine::Step(bool retract) {
  if (m_dockSide == DockSide::None) return;
  const ScreenRect bar = m_host->BarRect();
  const ScreenPoint limit = EdgePosition(bar, retract);
  const int width = bar.Width();
  const int height = bar.Height();
  int left = bar.left;
  int top = bar.top;
  switch (m_dockSide) {
    case DockSide::Top:
      top = StepTo(top, retract ? -height : height, limit.y);
      break;
    case DockSide::Bottom:
      top = StepTo(top, retract ? height : -height, limit.y);
      break;
    case DockSide::Left:
      left = StepTo(left, retract ? -width : width, limit.x);
      break;
    case DockSide::Right:
      left = StepTo(left, retract ? width : -width, limit.x);
      break;
    case DockSide::None:
      break;
  }
  m_host->PlaceBarAt(left, top);
}

void DockingEngine::KeepOnEdge() {
  if (m_dockSide == DockSide::None) return;
  const ScreenPoint at = EdgePosition(m_host->BarRect(), m_retracting);
  m_host->MoveBarTo(at.x, at.y);
}

void DockingEngine::RetractStep() { Step(true); }

void DockingEngine::RevealStep() { Step(false); }

// In the docked bar's monitor, else the monitor that shows most of the bar.
// The docking state is left alone: a docked bar moved here travels back to
// its edge once the leave watch sees the cursor outside it.
void DockingEngine::MoveToCorner(int doubleClickRight) {
  const std::vector<MonitorArea> monitors = m_host->Monitors();
  const ScreenRect bar = m_host->BarRect();
  const MonitorArea* monitor = &MonitorOf(monitors, bar);
  if (m_dockSide != DockSide::None) {
    for (const MonitorArea& m : monitors)
      if (m.area == m_dockMonitor) monitor = &m;
  }
  const ScreenRect screen = monitor->area;
  const ScreenRect workArea = monitor->workArea;
  // Bottom-left is the monitor's left edge, not the work area's.
  const int x = doubleClickRight == 1 ? workArea.right - bar.Width() : screen.left;
  // Six sevenths of the free height below the monitor's top, truncated toward zero.
  const int y = screen.top + (workArea.bottom - screen.top - bar.Height()) / 7 * 6;
  m_host->MoveBarTo(x, y);
}

// The docked edge is still there when a monitor has an edge on the same line
// at the middle of the bar (a monitor whose resolution changed keeps its top
// and left edges) and nothing lies beyond it along the bar. The bar then
// belongs to that monitor.
bool DockingEngine::DockEdgeStillThere(const std::vector<MonitorArea>& monitors) {
  const ScreenRect bar = m_host->BarRect();
  const ScreenRect& old = m_dockMonitor;
  const int midX = bar.left + bar.Width() / 2;
  const int midY = bar.top + bar.Height() / 2;
  for (const MonitorArea& m : monitors) {
    const ScreenRect& s = m.area;
    const bool alongX = s.left <= midX && midX < s.right;
    const bool alongY = s.top <= midY && midY < s.bottom;
    ScreenRect beyond;
    bool same = false;
    switch (m_dockSide) {
      case DockSide::Top:
        same = s.top == old.top && alongX;
        beyond = {bar.left, s.top - 1, bar.right, s.top};
        break;
      case DockSide::Bottom:
        same = s.bottom == old.bottom && alongX;
        beyond = {bar.left, s.bottom, bar.right, s.bottom + 1};
        break;
      case DockSide::Left:
        same = s.left == old.left && alongY;
        beyond = {s.left - 1, bar.top, s.left, bar.bottom};
        break;
      case DockSide::Right:
        same = s.right == old.right && alongY;
        beyond = {s.right, bar.top, s.right + 1, bar.bottom};
        break;
      case DockSide::None:
        break;
    }
    if (same && !OtherMonitorIn(monitors, s, beyond)) {
      m_dockMonitor = s;
      return true;
    }
  }
  return false;
}

// Free where it stands: no watch, no motion, not retracted.
void DockingEngine::Undock() {
  m_dockSide = DockSide::None;
  m_sideDocked = false;
  if (m_leaveWatchRunning && m_host->StopTimer(kLeaveWatchTimer.id)) m_leaveWatchRunning = false;
  m_motionDone = true;
  m_retracting = false;
}

void DockingEngine::OnDisplayChange() {
  const std::vector<MonitorArea> monitors = m_host->Monitors();
  if (monitors.empty()) return;
  if (m_dockSide != DockSide::None) {
    // A docked bar hangs over its edge by design; it stays while that edge does.
    if (DockEdgeStillThere(monitors)) return;
    Undock();
  }
  const ScreenRect bar = m_host->BarRect();
  if (OnMonitors(monitors, bar)) return;
  const ScreenRect workArea = MonitorOf(monitors, bar).workArea;
  int x = bar.left;
  int y = bar.top;
  Clamp(x, bar.Width(), workArea.left, workArea.right);
  Clamp(y, bar.Height(), workArea.top, workArea.bottom);
  m_host->MoveBarTo(x, y);
}

void DockingEngine::EnforceMinimumSize(SizingEdge edge, ScreenRect& proposed) const {
  const int minWidth = Scaled(kMinBarWidth);
  const int minHeight = Scaled(kMinBarHeight);
  const bool narrow = proposed.Width() < minWidth;
  const bool low = proposed.Height() < minHeight;
  if (!narrow && !low) return;

  auto setLeft = [&] { proposed.left = proposed.right - minWidth; };
  auto setRight = [&] { proposed.right = proposed.left + minWidth; };
  auto setTop = [&] { proposed.top = proposed.bottom - minHeight; };
  auto setBottom = [&] { proposed.bottom = proposed.top + minHeight; };

  switch (edge) {
    // A single edge goes to its minimum distance even when only the other
    // dimension is too small.
    case SizingEdge::Left: setLeft(); break;
    case SizingEdge::Right: setRight(); break;
    case SizingEdge::Top: setTop(); break;
    case SizingEdge::Bottom: setBottom(); break;
    // A corner moves each of its edges only where that dimension is too small.
    case SizingEdge::TopLeft:
      if (narrow) setLeft();
      if (low) setTop();
      break;
    case SizingEdge::TopRight:
      if (narrow) setRight();
      if (low) setTop();
      break;
    case SizingEdge::BottomLeft:
      if (narrow) setLeft();
      if (low) setBottom();
      break;
    case SizingEdge::BottomRight:
      if (narrow) setRight();
      if (low) setBottom();
      break;
  }
}
