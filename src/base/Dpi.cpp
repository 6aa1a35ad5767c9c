#include "base/Dpi.h"

#include <cstdint>
#include <limits>

int RescaleForDpi(int length, int fromDpi, int toDpi) {
  if (fromDpi <= 0 || toDpi <= 0 || fromDpi == toDpi) return length;
  // 64-bit product: a screen coordinate times a DPI overflows 32 bits.
  const std::int64_t product = std::int64_t{length} * toDpi;
  const std::int64_t half = fromDpi / 2;
  const std::int64_t rounded = product >= 0 ? (product + half) / fromDpi : -((-product + half) / fromDpi);
  if (rounded > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (rounded < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(rounded);
}
