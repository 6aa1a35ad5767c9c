#include "bar/BarInstance.h"

#include <cstdint>

#include "base/Text.h"

namespace {

// FNV-1a over the UTF-16 units: stable from one build and one run to the
// next, which a key shared between processes needs.
std::uint64_t HashUnits(std::u16string_view text) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (char16_t unit : text) {
    for (int shift : {0, 8}) {
      hash ^= static_cast<std::uint8_t>(unit >> shift);
      hash *= 0x100000001b3ull;
    }
  }
  return hash;
}

}  // namespace

std::u16string BarInstanceKey(std::u16string_view settingsPath) {
  std::u16string key = u"Quarrow.Bar.";
  const std::uint64_t hash = HashUnits(FoldPathCase(settingsPath));
  for (int shift = 60; shift >= 0; shift -= 4) key += u"0123456789ABCDEF"[(hash >> shift) & 0xF];
  return key;
}
