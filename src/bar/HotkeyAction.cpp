#include "bar/HotkeyAction.h"

// A bar slid into its edge comes out first, whatever else holds.
HotkeyAction ActionForHotkey(const HotkeyState& state) {
  if (state.retracting) return HotkeyAction::Reveal;
  if (!state.hasForeground || state.barShown) return HotkeyAction::Hide;
  return state.foregroundIsWindow ? HotkeyAction::Show : HotkeyAction::Nothing;
}
