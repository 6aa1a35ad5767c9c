#include "base/Text.h"

#include <algorithm>
#include <climits>
#include <iterator>

#include "base/Unicode.h"

namespace {

struct FoldRun {
  char32_t first, last;
  int step, delta;
};
constexpr FoldRun kFoldRuns[] = {
#include "base/CaseFoldTable.inc"
};

// Compares code point by code point, folded, over the whole of `prefix`;
// with `whole`, `text` must be used up too.
bool FoldedMatch(std::string_view text, std::string_view prefix, bool whole) {
  size_t t = 0, p = 0;
  while (p < prefix.size()) {
    if (t >= text.size()) return false;
    unsigned char ct = static_cast<unsigned char>(text[t]), cp = static_cast<unsigned char>(prefix[p]);
    if (ct < 0x80 && cp < 0x80) {  // ASCII, the common case
      if (FoldCase(ct) != FoldCase(cp)) return false;
      ++t, ++p;
      continue;
    }
    if (FoldCase(NextCodePoint(text, t)) != FoldCase(NextCodePoint(prefix, p))) return false;
  }
  return !whole || t == text.size();
}

}  // namespace

char32_t FoldCase(char32_t code) {
  if (code < 0x80) return code >= 'a' && code <= 'z' ? code - 'a' + 'A' : code;
  const FoldRun* end = std::end(kFoldRuns);
  const FoldRun* run = std::upper_bound(std::begin(kFoldRuns), end, code,
                                        [](char32_t c, const FoldRun& r) { return c < r.first; });
  if (run == std::begin(kFoldRuns)) return code;
  --run;
  if (code > run->last || (code - run->first) % static_cast<char32_t>(run->step) != 0) return code;
  return static_cast<char32_t>(static_cast<int>(code) + run->delta);
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) { return FoldedMatch(a, b, true); }

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  return FoldedMatch(text, prefix, false);
}

int ParseInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;  // saturates below, so it never overflows
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) return value > INT_MAX ? INT_MIN : -static_cast<int>(value);
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

std::string FormatInt(int value) { return std::to_string(value); }

std::string IndexedKey(std::string_view prefix, int index) {
  std::string key(prefix);
  key += std::to_string(index);
  return key;
}

std::string_view FileTitle(std::string_view path) {
  // In UTF-8 no byte of a longer character is a slash or a dot.
  size_t nameStart = 0, dot = std::string_view::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] == '\\' || path[i] == '/') {
      nameStart = i + 1;
      dot = std::string_view::npos;
    } else if (path[i] == '.') {
      dot = i;
    }
  }
  size_t end = dot == std::string_view::npos ? path.size() : dot;
  return path.substr(nameStart, end - nameStart);
}

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
