// Lengths for another screen density. The program's pixel numbers are given
// for 96 DPI (100 %); on a denser screen each is scaled to the density of the
// bar's monitor, rounded the way the platform's MulDiv rounds, so that our
// numbers and the system's own scaled metrics agree pixel for pixel.
#pragma once

inline constexpr int kDefaultDpi = 96;

// length * toDpi / fromDpi, rounded half away from zero (as MulDiv). A DPI
// that is not positive is unknown: the length comes back unchanged.
int RescaleForDpi(int length, int fromDpi, int toDpi);

// A length given for 96 DPI, at `dpi`.
inline int ScaleToDpi(int length96, int dpi) { return RescaleForDpi(length96, kDefaultDpi, dpi); }
