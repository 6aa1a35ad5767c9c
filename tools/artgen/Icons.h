// The program's icon and the ten engine-position icons.
#pragma once

#include "Raster.h"

namespace artgen {

inline constexpr int kEnginePositions = 10;

// The pixel sizes every icon is drawn at: the small and standard icon sizes
// of 96 DPI (16, 32) and of 120, 144 and 192 DPI (20, 24, 32; 40 and 48), so
// that the system picks a drawn size at every common density instead of
// scaling one.
inline constexpr int kIconSizes[] = {16, 20, 24, 32, 48};

// A search field with a magnifier over its end, at one of kIconSizes.
RgbaImage DrawAppIcon(int size);

// A coloured tile with a white letter or glyph, one per menu position 0..9.
RgbaImage DrawEngineIcon(int position, int size);

}  // namespace artgen
