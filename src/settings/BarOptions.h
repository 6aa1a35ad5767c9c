// The bar's options, in one place: read from the settings file once,
// changed in memory by the options dialog (and, for the picture, by the
// picture chooser's save), written by the bar's saves.
#pragma once

#include "settings/SettingsFile.h"

struct BarOptions {
  // The defaults when a key is missing.
  int useIE = 0;             // "UseIE": 1 opens results in Internet Explorer
  int doubleClickRight = 1;  // "DoubleClickRight": 1 puts the bar bottom right
  int useImage = 1;          // "UseImg": 1 paints a picture, 0 the colour
  int imageNumber = 1;       // "ImgNumber": the picture, 1 to 30
  int suggest = 0;           // "Suggest": 1 asks the engine for suggestions while typing

  friend constexpr bool operator==(const BarOptions&, const BarOptions&) = default;

  // Reads "DoubleClickRight", "UseIE", "UseImg", "ImgNumber" and
  // "Suggest", in that order, with the atoi rule.
  static BarOptions Read(const SettingsFile& file);
  // "ImgNumber" alone, as after the picture chooser's OK.
  static int ReadImageNumber(const SettingsFile& file);
  // Writes "UseIE", "DoubleClickRight" and "UseImg", in that order, as "1"
  // or "0", then "Suggest" where it is on or the file holds it (a file of
  // one who never switched it on stays as it was); the picture chooser alone
  // writes "ImgNumber".
  void Save(const SettingsFile& file) const;
};
