// The docking engine's view of the bar's window and of the system: every
// value is read afresh from the platform when the engine asks for it.
#pragma once

#include <windows.h>

#include "desktop/Docking.h"
#include "framework/win/Geometry.h"

class WindowDockingHost : public DockingHost {
 public:
  // The bar's window, known once it has been created.
  void Attach(HWND window) { m_window = window; }

  ScreenRect BarRect() const override;
  ScreenPoint CursorPos() const override;
  std::vector<MonitorArea> Monitors() const override;
  void StartTimer(unsigned id, unsigned periodMs) override;
  bool StopTimer(unsigned id) override;
  void PlaceBarAt(int x, int y) override;
  void MoveBarTo(int x, int y) override;

 private:
  HWND m_window = nullptr;
};
