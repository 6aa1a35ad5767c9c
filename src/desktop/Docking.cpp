#include "desktop/Docking.h"

void DockingEngine::MeasureSizes(std::optional<ScreenRect> taskbarRect, int edgeInset,
                                 int peekSize) {
  if (taskbarRect) m_taskbarHeight = taskbarRect->Height();
  m_edgeInset = edgeInset;
  m_peekSize = peekSize;
}

// The first test that holds wins, so a corner snaps to the top or bottom edge.
// Only the coordinate across the edge changes.
void DockingEngine::SnapWhileMoving(ScreenRect& proposed) {
  const ScreenPoint cursor = m_host->CursorPos();
  const PixelSize screen = m_host->ScreenSize();
  const int width = proposed.Width();
  const int height = proposed.Height();

  if (cursor.y <= kSnapDistance) {
    proposed.top = -m_edgeInset;
    proposed.bottom = height - m_edgeInset;
    m_dockSide = DockSide::Top;
  } else if (cursor.y >= screen.height - m_taskbarHeight - kSnapDistance) {
    // Just above the taskbar while dragging; a reveal drops it onto the edge.
    proposed.top = screen.height - m_taskbarHeight - height;
    proposed.bottom = screen.height - m_taskbarHeight;
    m_dockSide = DockSide::Bottom;
  } else if (cursor.x < kSnapDistance || cursor.x >= screen.width - kSnapDistance) {
    // The height it had before touching a side comes back when dragged free.
    if (!m_sideDocked) m_savedHeight = m_host->BarRect().Height();
    m_sideDocked = true;
    if (cursor.x < kSnapDistance) {
      proposed.left = 0;
      proposed.right = width;
      m_dockSide = DockSide::Left;
    } else {
      proposed.left = screen.width - width;
      proposed.right = screen.width;
      m_dockSide = DockSide::Right;
    }
  } else {
    if (m_sideDocked) {
      proposed.bottom = proposed.top + m_savedHeight;
      m_sideDocked = false;
    }
    // A free bar must never retract.
    if (m_leaveWatchRunning && m_host->StopTimer(kLeaveWatchTimer.id)) m_leaveWatchRunning = false;
    m_dockSide = DockSide::None;
  }
}

// The cursor is on the bar's surface (on a retracted bar, the strip left on
// screen): bring a docked bar out and watch for the cursor leaving it.
void DockingEngine::OnHitTest(ScreenPoint cursor) {
  if (m_dockSide == DockSide::None || m_leaveWatchRunning) return;
  if (cursor.x >= m_host->ScreenSize().width + kHitTestSlack) return;
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
    around.left -= kLeaveMargin;
    around.top -= kLeaveMargin;
    around.right += kLeaveMargin;
    around.bottom += kLeaveMargin;
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

// One whole height (or width) toward the bar's edge, stopping where only
// m_peekSize pixels stay on screen; or away from it, stopping where the bar
// stands wholly on screen (at the top m_edgeInset pixels above it; at the
// bottom on the screen's edge, over the taskbar).
void DockingEngine::Step(bool retract) {
  if (m_dockSide == DockSide::None) return;
  const ScreenRect bar = m_host->BarRect();
  const PixelSize screen = m_host->ScreenSize();
  const int width = bar.Width();
  const int height = bar.Height();
  const int peek = m_peekSize;
  int left = bar.left;
  int top = bar.top;
  switch (m_dockSide) {
    case DockSide::Top:
      top = retract ? StepTo(top, -height, peek - height) : StepTo(top, height, -m_edgeInset);
      break;
    case DockSide::Bottom:
      top = retract ? StepTo(top, height, screen.height - peek)
                    : StepTo(top, -height, screen.height - height);
      break;
    case DockSide::Left:
      left = retract ? StepTo(left, -width, peek - width) : StepTo(left, width, 0);
      break;
    case DockSide::Right:
      left = retract ? StepTo(left, width, screen.width - peek)
                     : StepTo(left, -width, screen.width - width);
      break;
    case DockSide::None:
      break;
  }
  m_host->PlaceBarAt(left, top);
}

void DockingEngine::RetractStep() { Step(true); }

void DockingEngine::RevealStep() { Step(false); }

// The docking state is left alone: a docked bar moved here travels back to
// its edge once the leave watch sees the cursor outside it.
void DockingEngine::MoveToCorner(int doubleClickRight) {
  const ScreenRect workArea = m_host->WorkArea();
  const ScreenRect bar = m_host->BarRect();
  // Bottom-left is the screen's left edge, not the work area's.
  const int x = doubleClickRight == 1 ? workArea.right - bar.Width() : 0;
  // Six sevenths of the free height, truncated toward zero.
  const int y = (workArea.bottom - bar.Height()) / 7 * 6;
  m_host->MoveBarTo(x, y);
}

void DockingEngine::EnforceMinimumSize(SizingEdge edge, ScreenRect& proposed) {
  const bool narrow = proposed.Width() < kMinBarWidth;
  const bool low = proposed.Height() < kMinBarHeight;
  if (!narrow && !low) return;

  auto setLeft = [&] { proposed.left = proposed.right - kMinBarWidth; };
  auto setRight = [&] { proposed.right = proposed.left + kMinBarWidth; };
  auto setTop = [&] { proposed.top = proposed.bottom - kMinBarHeight; };
  auto setBottom = [&] { proposed.bottom = proposed.top + kMinBarHeight; };

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
