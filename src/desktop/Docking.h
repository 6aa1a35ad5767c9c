// Edge docking and auto-hide of the search bar: the arithmetic and the state,
// without the window system. The bar's window procedure feeds the engine from
// its messages; the engine reads the window and the monitors and asks for
// moves and timers through DockingHost.
//
// With several monitors the engine works in one monitor at a time: the one
// under the cursor during a drag, the one the bar is docked on afterwards.
// Only outer edges (nothing beyond them) dock; the bar crosses the edges
// between two monitors freely.
#pragma once

#include <optional>
#include <vector>

#include "base/Geometry.h"

// One monitor: its whole rectangle and its work area (without the taskbar).
struct MonitorArea {
  ScreenRect area;
  ScreenRect workArea;
  friend constexpr bool operator==(const MonitorArea&, const MonitorArea&) = default;
};

// Stored as these numbers.
enum class DockSide { None = 0, Top = 1, Bottom = 2, Left = 3, Right = 4 };

// The edge given with WM_SIZING (the WMSZ_ values).
enum class SizingEdge {
  Left = 1,
  Right = 2,
  Top = 3,
  TopLeft = 4,
  TopRight = 5,
  Bottom = 6,
  BottomLeft = 7,
  BottomRight = 8,
};

struct TimerSpec {
  unsigned id;
  unsigned periodMs;
};

// Pixel numbers for 96 DPI; the engine scales each to the bar's density.
inline constexpr int kSnapDistance = 20;
inline constexpr int kLeaveMargin = 10;
inline constexpr int kHitTestSlack = 10;
inline constexpr TimerSpec kLeaveWatchTimer{1, 200};
inline constexpr TimerSpec kMotionTimer{2, 1};
inline constexpr int kMinBarWidth = 286;
inline constexpr int kMinBarHeight = 47;
inline constexpr int kDefaultTaskbarHeight = 30;

// What the engine needs from the bar's window and the system. Every call is
// made afresh when needed; nothing is cached on the engine's side.
class DockingHost {
 public:
  virtual ~DockingHost() = default;

  virtual ScreenRect BarRect() const = 0;     // GetWindowRect of the bar
  virtual ScreenPoint CursorPos() const = 0;  // GetCursorPos
  // Every monitor, the primary first; never empty (EnumDisplayMonitors and
  // GetMonitorInfoA, else the primary screen and SPI_GETWORKAREA).
  virtual std::vector<MonitorArea> Monitors() const = 0;

  virtual void StartTimer(unsigned id, unsigned periodMs) = 0;  // SetTimer
  virtual bool StopTimer(unsigned id) = 0;  // KillTimer; false when it failed

  // Puts the bar's top-left corner at (x, y), size unchanged, at the top of the
  // topmost windows, and shows it (HWND_TOPMOST, SWP_NOSIZE | SWP_SHOWWINDOW).
  virtual void PlaceBarAt(int x, int y) = 0;
  // Puts the bar's top-left corner at (x, y) with no other change
  // (SWP_NOSIZE | SWP_NOZORDER).
  virtual void MoveBarTo(int x, int y) = 0;
};

class DockingEngine {
 public:
  explicit DockingEngine(DockingHost& host) : m_host(&host) {}
  DockingEngine(const DockingEngine&) = delete;
  DockingEngine& operator=(const DockingEngine&) = delete;

  // WM_CREATE and WM_DPICHANGED: the rectangle of the "Shell_TrayWnd" window
  // if there is one, SM_CYEDGE and SM_CXFRAME at the bar's density, and that
  // density, to which the engine scales its own distances.
  void MeasureSizes(std::optional<ScreenRect> taskbarRect, int edgeInset, int peekSize,
                    int dpi = 96);

  // WM_MOVING: adjusts the proposed window rectangle.
  void SnapWhileMoving(ScreenRect& proposed);
  // WM_NCHITTEST on the bar's own surface, with the message's cursor position.
  void OnHitTest(ScreenPoint cursor);
  // WM_TIMER.
  void OnTimer(unsigned id);
  // WM_LBUTTONDBLCLK; `doubleClickRight` is the "DoubleClickRight" option.
  void MoveToCorner(int doubleClickRight);
  // WM_SIZING: adjusts the proposed window rectangle.
  void EnforceMinimumSize(SizingEdge edge, ScreenRect& proposed) const;
  // After the bar changed size (WM_DPICHANGED): a docked bar is put back on
  // its edge, retracted or revealed as it was.
  void KeepOnEdge();
  // WM_DISPLAYCHANGE, and WM_SETTINGCHANGE for the work area: a docked bar
  // whose edge is gone becomes free, and a free bar no longer wholly on the
  // monitors moves into the work area of the nearest one.
  void OnDisplayChange();

  // One step of a motion; ShowBar and the hotkey call RevealStep directly.
  void RetractStep();
  void RevealStep();

  DockSide Side() const { return m_dockSide; }
  bool SideDocked() const { return m_sideDocked; }
  int SavedHeight() const { return m_savedHeight; }
  int TaskbarHeight() const { return m_taskbarHeight; }
  int EdgeInset() const { return m_edgeInset; }
  int PeekSize() const { return m_peekSize; }
  bool LeaveWatchRunning() const { return m_leaveWatchRunning; }
  bool MotionDone() const { return m_motionDone; }
  // Set while the bar is docked and retracted (or retracting); the hotkey
  // reads it and clears it when it brings the bar out.
  bool Retracting() const { return m_retracting; }
  void ClearRetracting() { m_retracting = false; }
  // The monitor the bar was last docked on.
  ScreenRect DockMonitor() const { return m_dockMonitor; }

 private:
  int Scaled(int length96) const;
  ScreenPoint EdgePosition(const ScreenRect& bar, bool retracted) const;
  void DragFree(ScreenRect& proposed);
  void KeepOffNeighbours(ScreenRect& proposed, const ScreenRect& screen,
                         const std::vector<MonitorArea>& monitors) const;
  int TaskbarHeightOn(const MonitorArea& monitor, const std::vector<MonitorArea>& all) const;
  bool DockEdgeStillThere(const std::vector<MonitorArea>& monitors);
  void Undock();
  void StartMotion(bool retract);
  void Step(bool retract);
  int StepTo(int position, int delta, int limit);

  DockingHost* m_host;
  DockSide m_dockSide = DockSide::None;
  bool m_sideDocked = false;
  int m_savedHeight = kMinBarHeight;
  int m_taskbarHeight = kDefaultTaskbarHeight;
  std::optional<ScreenRect> m_taskbarRect;  // tells which monitor has the taskbar
  ScreenRect m_dockMonitor;
  int m_edgeInset = 0;
  int m_peekSize = 0;
  int m_dpi = 96;
  bool m_leaveWatchRunning = false;
  bool m_motionDone = true;
  bool m_retracting = false;
};
