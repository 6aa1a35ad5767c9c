#include "framework/Centring.h"

ScreenPoint CentredPosition(int width, int height, const ScreenRect& around, const ScreenRect& workArea) {
  int x = (around.left + around.right - width) / 2;
  int y = (around.top + around.bottom - height) / 2;
  if (x + width > workArea.right) x = workArea.right - width;
  if (y + height > workArea.bottom) y = workArea.bottom - height;
  if (x < workArea.left) x = workArea.left;
  if (y < workArea.top) y = workArea.top;
  return {x, y};
}
