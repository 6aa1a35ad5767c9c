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

std::u16string FoldPathCase(std::u16string_view path) {
  // Unit by unit, as Windows' table of capitals for file names works; a
  // letter whose capital lies beyond the Basic Multilingual Plane stays.
  std::u16string folded(path);
  for (char16_t& unit : folded) {
    const char32_t capital = FoldCase(unit);
    if (capital < 0x10000) unit = static_cast<char16_t>(capital);
  }
  return folded;
}

std::u16string BarInstanceKey(std::u16string_view settingsPath) {
  std::u16string key = u"Quarrow.Bar.";
  const std::uint64_t hash = HashUnits(FoldPathCase(settingsPath));
  for (int shift = 60; shift >= 0; shift -= 4) key += u"0123456789ABCDEF"[(hash >> shift) & 0xF];
  return key;
}

bool IsDirectlyIn(std::u16string_view program, std::u16string_view folder) {
  while (!folder.empty() && (folder.back() == u'\\' || folder.back() == u'/')) folder.remove_suffix(1);
  if (folder.empty() || program.size() <= folder.size() + 1) return false;
  const char16_t separator = program[folder.size()];
  if (separator != u'\\' && separator != u'/') return false;
  const std::u16string_view name = program.substr(folder.size() + 1);
  if (name.find_first_of(u"\\/") != std::u16string_view::npos) return false;
  return FoldPathCase(program.substr(0, folder.size())) == FoldPathCase(folder);
}
