// Text helpers for the program's texts, which are UTF-8 (base/Unicode.h).
//
// Comparisons that ignore letter case fold every cased letter (A/a, Ä/ä,
// Д/д, Σ/σ/ς) to its upper case, as the system's ordinal comparison that
// ignores case does; characters without case (Chinese) compare exactly.
#pragma once

#include <string>
#include <string_view>

// Blank, tab and 0x0A to 0x0D, as the C library's isspace in the "C" locale.
// These bytes never occur inside a UTF-8 sequence.
constexpr bool IsBlank(char c) {
  return c == ' ' || c == '\t' || (c >= 0x0A && c <= 0x0D);
}

// Trimming with another idea of a blank (the settings file's adds Ctrl-Z).
template <typename IsSpace>
std::string_view TrimLeftIf(std::string_view text, IsSpace isSpace) {
  size_t i = 0;
  while (i < text.size() && isSpace(text[i])) ++i;
  return text.substr(i);
}
template <typename IsSpace>
std::string_view TrimRightIf(std::string_view text, IsSpace isSpace) {
  size_t n = text.size();
  while (n > 0 && isSpace(text[n - 1])) --n;
  return text.substr(0, n);
}

inline std::string_view TrimLeft(std::string_view text) { return TrimLeftIf(text, IsBlank); }
inline std::string_view TrimRight(std::string_view text) { return TrimRightIf(text, IsBlank); }
inline std::string_view Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

// The letter `code` folded to its upper case; any other code point itself.
char32_t FoldCase(char32_t code);

// Whole-text equality ignoring letter case.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// True when `text` begins with `prefix`, ignoring letter case; a text equal
// to the prefix counts as beginning with it.
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);

// The C library's atoi: leading blanks, an optional sign, then decimal digits
// up to the first other character; no digits give 0. Out-of-range values give
// the largest or smallest int, as the Windows C library does.
int ParseInt(std::string_view text);

// Decimal text of `value` ("%d").
std::string FormatInt(int value);

// `prefix` followed by the decimal index: IndexedKey("E", 10) is "E10".
std::string IndexedKey(std::string_view prefix, int index);

// The file's name in a path without the folders and the last extension
// ("C:\Tools\Quarrow.exe" gives "Quarrow"); both slashes separate folders.
std::string_view FileTitle(std::string_view path);

// `path` (UTF-16, as the system gives it) with its letters folded to
// capitals, as Windows compares file names (FoldCase: every cased script;
// characters without case, Chinese among them, are left as they are).
std::u16string FoldPathCase(std::u16string_view path);
