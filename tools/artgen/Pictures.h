// The background pictures: thirty for the picture chooser (bitmaps 260 to
// 289) and three more that only a hand-edited setting selects (290, 299, 300).
#pragma once

#include <string>
#include <vector>

#include "Raster.h"

namespace artgen {

struct PictureInfo {
  int resourceId;
  std::string fileName;  // as the resource script names it
  std::string title;     // a few words on what it shows
  int width;
  int height;
};

// In resource order: pictures 1 to 30, then the three extras.
const std::vector<PictureInfo>& Pictures();

// Draws the picture of the given entry of Pictures().
RgbImage DrawPicture(std::size_t entry);

}  // namespace artgen
