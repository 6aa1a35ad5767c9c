// The program's icon and the ten engine-position icons.
#pragma once

#include "Raster.h"

namespace artgen {

inline constexpr int kEnginePositions = 10;

// A search field with a magnifier over its end; size 16, 32 or 48.
RgbaImage DrawAppIcon(int size);

// Pixel size of the engine icon of a menu position: 16, one of them 24.
int EngineIconSize(int position);

// A coloured tile with a white letter or glyph, one per menu position 0..9.
RgbaImage DrawEngineIcon(int position);

}  // namespace artgen
