#include "settings/FileEncoding.h"

#include <algorithm>

#include "base/Unicode.h"

namespace {

// The length of the character at `at`: a lead byte and a trail byte, or one byte.
size_t CharacterLength(std::string_view bytes, size_t at) {
  return at + 1 < bytes.size() && IsGbkLeadByte(static_cast<unsigned char>(bytes[at])) &&
                 IsGbkTrailByte(static_cast<unsigned char>(bytes[at + 1]))
             ? 2
             : 1;
}

void AppendEscapes(std::string& text, std::string_view bytes) {
  for (char byte : bytes) AppendCodePoint(text, ByteEscape(static_cast<unsigned char>(byte)));
}

// Decodes `run` whole when it can; otherwise character by character, each
// that does not decode kept as its bytes' escapes.
void AppendDecoded(std::string& text, std::string_view run, const GbkCodec& gbk) {
  std::u16string units;
  if (gbk.Decode(run, units)) {
    text += Utf16ToUtf8(units);
    return;
  }
  for (size_t at = 0; at < run.size();) {
    std::string_view one = run.substr(at, CharacterLength(run, at));
    at += one.size();
    units.clear();
    if (static_cast<unsigned char>(one[0]) < 0x80) {
      text += one;
    } else if (gbk.Decode(one, units) && !units.empty()) {
      text += Utf16ToUtf8(units);
    } else {
      AppendEscapes(text, one);
    }
  }
}

}  // namespace

bool IsAscii(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string GbkToText(std::string_view bytes, const GbkCodec& gbk) {
  if (IsAscii(bytes)) return std::string(bytes);
  std::string text;
  text.reserve(bytes.size() + bytes.size() / 2);
  AppendDecoded(text, bytes, gbk);
  return text;
}

bool TextToGbk(std::string_view text, const GbkCodec& gbk, std::string& bytes) {
  bytes.clear();
  if (IsAscii(text)) {
    bytes.assign(text);
    return true;
  }
  bytes.reserve(text.size());
  std::u16string run;  // characters for the system's table, up to the next escape
  auto flush = [&] {
    std::string encoded;
    if (!run.empty() && !gbk.Encode(run, encoded)) return false;
    bytes += encoded;
    run.clear();
    return true;
  };
  for (size_t at = 0; at < text.size();) {
    char32_t code = NextCodePoint(text, at);
    if (IsByteEscape(code)) {
      if (!flush()) return false;
      bytes.push_back(static_cast<char>(code - 0xDC00));
    } else if (code >= 0x10000) {
      return false;  // GBK holds nothing beyond the Basic Multilingual Plane
    } else {
      run.push_back(static_cast<char16_t>(code));
    }
  }
  return flush();
}

std::string_view CutGbkAtCharacter(std::string_view bytes, size_t maxBytes) {
  size_t end = 0;
  while (end < bytes.size()) {
    size_t next = end + CharacterLength(bytes, end);
    if (next > maxBytes) break;
    end = next;
  }
  return bytes.substr(0, end);
}
