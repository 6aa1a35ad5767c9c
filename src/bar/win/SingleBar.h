// One bar per settings file (the rule and the key: bar/BarInstance.h). A
// start while another copy runs on the same Quarrow.ini (the same current
// folder) shows that copy's bar, in front, out of its edge, the query box
// focused, and ends. A named mutex tells that a bar runs; a property on the
// bar's window lets the new start find it; a registered message asks it to
// show itself.
#pragma once

#include <windows.h>

#include <string>

class SingleBar {
 public:
  SingleBar();  // for the settings file of the current folder
  ~SingleBar();
  SingleBar(const SingleBar&) = delete;
  SingleBar& operator=(const SingleBar&) = delete;

  // True when this start is the bar for its settings file. False when
  // another copy runs on it: that copy has been asked to show its bar, or
  // it did not answer within a few seconds, and this start should end.
  bool Claim();

  // The running bar's window carries the key, so that a later start finds it;
  // it is taken off before the window goes.
  static void MarkBarWindow(HWND bar);
  static void UnmarkBarWindow(HWND bar);
  // The message a later start posts to the bar: show yourself.
  static UINT RevealMessage();

 private:
  std::wstring m_key;
  HANDLE m_mutex = nullptr;
};

// The full path of Quarrow.ini in the current folder, long names throughout.
std::wstring CurrentSettingsPathW();
