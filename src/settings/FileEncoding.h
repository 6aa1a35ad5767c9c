// The settings file's text: a file without a byte-order mark is GBK (code
// page 936) on every system, as every Quarrow.ini was first written; the
// program's text is UTF-8 (base/Unicode.h). Here the two meet.
//
// A byte that is not part of a GBK character (half a character, a broken
// pair) becomes its escape and turns back into the same byte when written,
// so a line keeps its bytes even when it is moved to another key.
#pragma once

#include <string>
#include <string_view>

// Code page 936 from the system's tables: the core has none of its own; the
// window layer hands in Windows', the native tests iconv's.
class GbkCodec {
 public:
  virtual ~GbkCodec() = default;
  // False when some byte or pair of `bytes` is no GBK character.
  virtual bool Decode(std::string_view bytes, std::u16string& text) const = 0;
  // False when some character of `text` has no GBK form (nothing is ever
  // written as '?' in its place).
  virtual bool Encode(std::u16string_view text, std::string& bytes) const = 0;
};

// True for a byte that starts a two-byte GBK character, and for one that may end it.
constexpr bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
constexpr bool IsGbkTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

// GBK bytes as the program's text; bytes that do not decode become escapes.
std::string GbkToText(std::string_view bytes, const GbkCodec& gbk);
// The program's text as GBK bytes; false when a character has no GBK form.
bool TextToGbk(std::string_view text, const GbkCodec& gbk, std::string& bytes);

// As much of the GBK `bytes` as fits into `maxBytes` without half a two-byte
// character.
std::string_view CutGbkAtCharacter(std::string_view bytes, size_t maxBytes);

// True when every byte is ASCII: such bytes are their own text in every encoding here.
bool IsAscii(std::string_view bytes);
