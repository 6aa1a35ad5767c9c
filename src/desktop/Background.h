// The bar's two looks, light blue or a picture: which bitmap a picture number
// names, what each kind of control gets painted with, and where the icon of
// the minimised bar goes.
#pragma once

#include <cstdint>

// A colour as the platform's 32-bit value 0x00BBGGRR.
constexpr std::uint32_t MakeColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return std::uint32_t{red} | std::uint32_t{green} << 8 | std::uint32_t{blue} << 16;
}

inline constexpr std::uint32_t kBackgroundColor = MakeColor(217, 225, 247);
inline constexpr std::uint32_t kTextColor = MakeColor(0, 0, 0);

// Resource id of picture `imageNumber`'s bitmap: 259 + n as a 16-bit id.
std::uint16_t PictureBitmapId(int imageNumber);

enum class BackgroundKind { Color, Picture };

// What the bar paints: the picture only in picture mode with a picture loaded.
BackgroundKind BackgroundToPaint(int useImage, bool pictureLoaded);

// The CTLCOLOR kinds, numbered as the platform numbers them, so that a
// WM_CTLCOLOR... message gives kind = message - WM_CTLCOLORMSGBOX.
enum class ControlKind {
  MsgBox = 0,  // not MessageBox: windows.h makes that name a macro (MessageBoxW)
  Edit = 1,
  ListBox = 2,
  Button = 3,
  Dialog = 4,
  ScrollBar = 5,
  Static = 6,
};

enum class ControlPaint {
  Default,      // the default brush and colours
  Transparent,  // kTextColor, transparent background mode, the hollow brush
  Colored,      // kTextColor on kBackgroundColor, the colour brush
};

ControlPaint ControlPaintFor(BackgroundKind background, ControlKind kind);

struct IconOrigin {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(const IconOrigin&, const IconOrigin&) = default;
};

// Top-left corner of the application icon in the minimised bar's client area.
IconOrigin MinimizedIconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight);
