// The common controls library, loaded when a dialog first needs it instead
// of with the program: only the engine settings dialog uses it (its list view
// and image list), and loading it at every start costs the bar's start-up
// about a tenth under Wine (docs/performance.md).
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace common_controls {

// InitCommonControlsEx; false when the library or the call fails.
bool RegisterClasses(DWORD classes);
// ImageList_Create, ImageList_ReplaceIcon(-1) and ImageList_Destroy.
HIMAGELIST CreateImageList(int width, int height, UINT flags, int initial, int grow);
int AddIcon(HIMAGELIST list, HICON icon);
BOOL DestroyImageList(HIMAGELIST list);

}  // namespace common_controls
