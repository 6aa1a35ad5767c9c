// What Ctrl+Alt+S does, decided from the bar's state and the window in front;
// the bar's window code only carries the answer out.
#pragma once

enum class HotkeyAction {
  Reveal,  // a retracted bar comes out of its edge
  Hide,    // the bar is shown, or no window is in front
  Show,    // the hidden bar comes up over the window in front
  Nothing, // the window in front is gone already
};

struct HotkeyState {
  bool retracting = false;          // docked and slid into its edge
  bool barShown = false;
  bool hasForeground = false;       // some window is in front
  bool foregroundIsWindow = false;  // and it still exists
};

HotkeyAction ActionForHotkey(const HotkeyState& state);
