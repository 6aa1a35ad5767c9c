// This test program as the source of an OLE drag: text dragged onto the bar
// and dropped there, across processes.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

struct DropResult {
  HRESULT result;   // of DoDragDrop
  DWORD effect;     // what the target said was done with the data
  bool sawCopy;     // a target answered "copy" while the text was over it
  int dataRequests; // how often the target asked for the text
};

// What a drag offers: CF_UNICODETEXT, CF_TEXT (bytes as given), either, both
// or nothing.
struct DragText {
  std::optional<std::wstring> unicode;
  std::optional<std::string> ansi;
};

// UTF-8 text offered as a program offers it: CF_UNICODETEXT, and CF_TEXT in
// the system's ANSI code page (a character that page lacks becomes '?').
DragText AsProgramsOfferIt(const std::string& utf8);

// Drags the data onto the bar's empty lower-left area and drops it there
// after a few rounds of the drag loop. OLE must be initialised in this thread.
DropResult DropOnBar(HWND bar, const DragText& data);
inline DropResult DropOnBar(HWND bar, const std::string& utf8) { return DropOnBar(bar, AsProgramsOfferIt(utf8)); }
