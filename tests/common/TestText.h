// Bytes of test files built from text written in the tests, and the escapes
// of the test cases kept as data: one of each for both suites (the native
// one and the one under Wine).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/FileEncoding.h"

// The GBK bytes of UTF-8 text; throws std::runtime_error when a character has
// no GBK form (a test that means GBK must not write '?' unnoticed).
std::string GbkBytes(std::string_view utf8, const GbkCodec& gbk);

// Text as a UTF-16 file with its byte-order mark: from UTF-8, or from UTF-16
// units written here (any unit, a lone surrogate too).
std::string Utf16LeFile(std::string_view utf8);
std::string Utf16LeFile(std::u16string_view text);
std::string Utf16BeFile(std::u16string_view text);
// The text of a UTF-16 LE file, nothing without its byte-order mark.
std::optional<std::string> FromUtf16LeFile(std::string_view bytes);

// The escapes of the data files (tests/data): \r \n \t \0 \s (a blank) \\ \"
// \xHH (a byte), \uHHHH (a UTF-16 unit, a lone surrogate too), and \(N*text)
// for N copies of text. Throws std::runtime_error on an escape it does not know.
std::string UnescapeCaseText(std::string_view text);
