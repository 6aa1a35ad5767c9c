// This test program as the source of an OLE drag: text (as CF_TEXT) dragged
// onto the bar and dropped there, across processes.
#pragma once

#include <windows.h>

#include <string>

struct DropResult {
  HRESULT result;   // of DoDragDrop
  DWORD effect;     // what the target said was done with the data
  bool sawCopy;     // a target answered "copy" while the text was over it
  int dataRequests; // how often the target asked for the text
};

// Drags `text` onto the bar's empty lower-left area and drops it there after a
// few rounds of the drag loop; with `offerText` false the data offers no
// format at all. OLE must be initialised in this thread.
DropResult DropOnBar(HWND bar, const std::string& text, bool offerText = true);
