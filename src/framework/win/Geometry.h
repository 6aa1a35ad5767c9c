// The platform's RECT and the core's ScreenRect into each other.
#pragma once

#include <windows.h>

#include "base/Geometry.h"

inline ScreenRect ToScreenRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }
inline RECT ToRect(const ScreenRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }
