// The program's one text form: UTF-8 in std::string, converted to UTF-16 only
// where the system wants it (the window layer) and to the settings file's own
// encoding where the file is read and written.
//
// The UTF-8 here is the lossless kind ("WTF-8"): a lone surrogate, which
// UTF-16 text may hold (a window's text, a UTF-16 file), is kept as the three
// bytes of its code point, so UTF-16 -> UTF-8 -> UTF-16 gives back every unit.
// A byte of a file that did not decode (half a GBK character, a broken UTF-8
// sequence) is kept as the lone surrogate U+DC00 + byte, and turns back into
// that byte when the line is written to a file of eight-bit text again.
#pragma once

#include <string>
#include <string_view>

// One code point of `text` from `at`, which moves past it. A byte that starts
// no well-formed sequence gives U+FFFD and moves one byte.
char32_t NextCodePoint(std::string_view text, size_t& at);
void AppendCodePoint(std::string& text, char32_t code);

// Both ways between the program's UTF-8 and UTF-16; every unit survives the
// trip there and back. A broken UTF-8 sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// The escape of a byte that did not decode (U+DC80 to U+DCFF); 0 for any other code point.
constexpr char32_t kByteEscapeFirst = 0xDC80, kByteEscapeLast = 0xDCFF;
constexpr char32_t ByteEscape(unsigned char byte) { return 0xDC00 + byte; }
constexpr bool IsByteEscape(char32_t code) { return code >= kByteEscapeFirst && code <= kByteEscapeLast; }

// UTF-8 (as a UTF-8 file holds it) into the program's text: a byte of a
// broken sequence, or of an encoded surrogate, becomes its escape.
std::string Utf8FileToText(std::string_view bytes);
// Back: escapes become their bytes again.
std::string TextToUtf8File(std::string_view text);

// The longest start of `text` that is at most `maxUnits` UTF-16 units long,
// never ending inside a character (a surrogate pair is never split).
std::string_view CutToUtf16Units(std::string_view text, size_t maxUnits);
