// Where a dialog of a given size goes when it is first shown.
#pragma once

#include "base/Geometry.h"

// The top left corner that centres a `width` by `height` window over `around`
// and then moves it as little as needed to lie wholly inside `workArea`; a
// window larger than the work area keeps its top left corner inside it.
ScreenPoint CentredPosition(int width, int height, const ScreenRect& around, const ScreenRect& workArea);
