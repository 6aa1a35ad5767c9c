#include "desktop/Background.h"

namespace {

constexpr unsigned kPictureBitmapBase = 259;

}  // namespace

// The sum is cut to 16 bits as an integer resource id is; unsigned arithmetic
// keeps a hand-edited number near the int limits from overflowing.
std::uint16_t PictureBitmapId(int imageNumber) {
  return static_cast<std::uint16_t>((static_cast<unsigned>(imageNumber) + kPictureBitmapBase) &
                                    0xFFFFu);
}

// A number with no bitmap behind it leaves no picture: the bar then shows the
// colour look rather than whatever the default erase would leave behind.
BackgroundKind BackgroundToPaint(int useImage, bool pictureLoaded) {
  return useImage != 0 && pictureLoaded ? BackgroundKind::Picture : BackgroundKind::Color;
}

// The query box (edit field and list) keeps the system's colours in both looks.
ControlPaint ControlPaintFor(BackgroundKind background, ControlKind kind) {
  const bool buttonOrStatic = kind == ControlKind::Button || kind == ControlKind::Static;
  if (background == BackgroundKind::Picture)
    return buttonOrStatic ? ControlPaint::Transparent : ControlPaint::Default;
  return buttonOrStatic || kind == ControlKind::Dialog ? ControlPaint::Colored
                                                       : ControlPaint::Default;
}

IconOrigin MinimizedIconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight) {
  return {(clientWidth - iconWidth + 1) / 2, (clientHeight - iconHeight + 1) / 2};
}
