// One bar per settings file (the rule and the key: bar/BarInstance.h). A
// start while another copy runs on the same Quarrow.ini (the same current
// folder) hands that copy what its command line asks for and ends: a plain
// start or --show shows the running bar, in front, out of its edge, the query
// box focused; --search has it search; --exit has it exit. A named mutex
// tells that a bar runs; a property on the bar's window lets the new start
// find it; a registered message asks it to show itself, WM_COPYDATA carries
// a search or an exit.
#pragma once

#include <windows.h>

#include <string>

#include "bar/CommandLine.h"

class SingleBar {
 public:
  explicit SingleBar(const std::string& settingsPath);
  ~SingleBar();
  SingleBar(const SingleBar&) = delete;
  SingleBar& operator=(const SingleBar&) = delete;

  // True when this start is the bar for its settings file. False when
  // another copy runs on it: that copy has been handed `request`, or it did
  // not answer within a few seconds (Answered() says which), and this start
  // should end.
  bool Claim(const CommandLine& request);
  bool Answered() const { return m_answered; }

  // WM_COPYDATA's dwData for a search (the UTF-8 text, without a final zero)
  // and for an exit.
  static constexpr ULONG_PTR kSearchRequest = 0x51535243;  // "QSRC"
  static constexpr ULONG_PTR kExitRequest = 0x51455849;    // "QEXI"

  // The running bar's window carries the key, so that a later start finds it;
  // it is taken off before the window goes.
  static void MarkBarWindow(HWND bar);
  static void UnmarkBarWindow(HWND bar);
  // The message a later start posts to the bar: show yourself.
  static UINT RevealMessage();

 private:
  std::wstring m_key;
  HANDLE m_mutex = nullptr;
  bool m_answered = false;
};
