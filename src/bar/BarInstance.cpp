#include "bar/BarInstance.h"

#include <cstdint>

namespace {

char16_t FoldChar(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c < 0x80) return c;
  // Latin-1: à..þ except ÷; ÿ has its capital in Latin Extended-A.
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
  if (c == 0xFF) return 0x178;
  // Latin Extended-A pairs capital and small letter; the pairs start on an
  // even code from Ā to į, from Ĳ to ķ and from Ŋ to ŷ, on an odd one from Ĺ
  // to ň and from Ź to ž. İ, ı, ĸ, ŉ and ſ have no pair here.
  if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
    return static_cast<char16_t>(c & ~1u);
  }
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
    return (c & 1u) ? c : static_cast<char16_t>(c - 1);
  }
  // Greek α..ω (final sigma ς folds with σ to Σ).
  if (c == 0x3C2) return 0x3A3;
  if (c >= 0x3B1 && c <= 0x3C9) return static_cast<char16_t>(c - 0x20);
  // Cyrillic а..я and ѐ..џ.
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
  // Full-width ａ..ｚ.
  if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 0x20);
  return c;
}

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
  std::u16string folded(path);
  for (char16_t& c : folded) c = FoldChar(c);
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
