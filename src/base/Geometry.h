// Screen geometry as the core and the window framework both use it.
#pragma once

// Screen coordinates in pixels; right and bottom are exclusive, as in RECT.
struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  friend constexpr bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

struct ScreenPoint {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};
