// Text helpers for the program's 8-bit texts (code page 936, GBK).
//
// In GBK a byte from 0x81 to 0xFE starts a two-byte character whose second
// byte (0x40 to 0xFE) may look like an ASCII letter. Case folding therefore
// applies only to single-byte letters, which gives the same answer as the
// system's lstrcmpiA for the texts the program compares.
#pragma once

#include <string>
#include <string_view>

// True for a byte that starts a two-byte GBK character.
constexpr bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Blank, tab and 0x0A to 0x0D, as the C library's isspace in the "C" locale.
// These bytes never occur inside a two-byte character.
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

// Whole-text equality ignoring the case of single-byte letters.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// True when `text` begins with `prefix`, ignoring the case of single-byte
// letters; a text equal to the prefix counts as beginning with it.
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);

// The C library's atoi: leading blanks, an optional sign, then decimal digits
// up to the first other character; no digits give 0. Out-of-range values give
// the largest or smallest int, as the Windows C library does.
int ParseInt(std::string_view text);

// Decimal text of `value` ("%d").
std::string FormatInt(int value);

// `prefix` followed by the decimal index: IndexedKey("E", 10) is "E10".
std::string IndexedKey(std::string_view prefix, int index);

// The first `maxBytes` bytes of `text` (all of it when shorter).
std::string_view CutTo(std::string_view text, size_t maxBytes);

// As much of `text` as fits into `maxBytes` without half a two-byte character;
// a lead byte at the very end, without its second byte, is left out too.
std::string_view CutAtCharacter(std::string_view text, size_t maxBytes);

// The file's name in a path without the folders and the last extension
// ("C:\Tools\Quarrow.exe" gives "Quarrow"); both slashes separate folders.
std::string_view FileTitle(std::string_view path);
