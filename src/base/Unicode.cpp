#include "base/Unicode.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }
bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c < 0xDC00; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c < 0xE000; }

// The length of the well-formed sequence at `at` (surrogates allowed), or 0.
size_t SequenceLength(std::string_view text, size_t at, char32_t& code) {
  unsigned char c = static_cast<unsigned char>(text[at]);
  if (c < 0x80) {
    code = c;
    return 1;
  }
  size_t length = c >= 0xC2 && c < 0xE0 ? 2 : c >= 0xE0 && c < 0xF0 ? 3 : c >= 0xF0 && c < 0xF5 ? 4 : 0;
  if (length == 0 || at + length > text.size()) return 0;
  code = c & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
  for (size_t i = 1; i < length; ++i) {
    unsigned char next = static_cast<unsigned char>(text[at + i]);
    if (!IsContinuation(next)) return 0;
    code = (code << 6) | (next & 0x3F);
  }
  // Overlong forms and code points beyond U+10FFFF are broken.
  if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF))) return 0;
  return length;
}

}  // namespace

char32_t NextCodePoint(std::string_view text, size_t& at) {
  char32_t code = 0;
  size_t length = SequenceLength(text, at, code);
  at += length ? length : 1;
  return length ? code : kReplacement;
}

void AppendCodePoint(std::string& text, char32_t code) {
  if (code < 0x80) {
    text.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    text.push_back(static_cast<char>(0xC0 | (code >> 6)));
    text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    text.push_back(static_cast<char>(0xE0 | (code >> 12)));
    text.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    text.push_back(static_cast<char>(0xF0 | (code >> 18)));
    text.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    text.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string units;
  units.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[at]);
    if (c < 0x80) {  // the common case, without a call
      units.push_back(c);
      ++at;
      continue;
    }
    char32_t code = NextCodePoint(text, at);
    if (code >= 0x10000) {
      code -= 0x10000;
      units.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(code));
    }
  }
  return units;
}

std::string Utf16ToUtf8(std::u16string_view units) {
  std::string text;
  text.reserve(units.size() * 3);
  for (size_t i = 0; i < units.size(); ++i) {
    char32_t code = units[i];
    if (IsHighSurrogate(code) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
      code = 0x10000 + ((code - 0xD800) << 10) + (units[++i] - 0xDC00);
    }
    AppendCodePoint(text, code);  // a lone surrogate keeps its own three bytes
  }
  return text;
}

std::string Utf8FileToText(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (size_t at = 0; at < bytes.size();) {
    char32_t code = 0;
    size_t length = SequenceLength(bytes, at, code);
    bool surrogate = code >= 0xD800 && code < 0xE000;
    if (length == 0 || surrogate) {
      size_t broken = length ? length : 1;
      for (size_t i = 0; i < broken; ++i) AppendCodePoint(text, ByteEscape(static_cast<unsigned char>(bytes[at + i])));
      at += broken;
      continue;
    }
    text.append(bytes.substr(at, length));
    at += length;
  }
  return text;
}

std::string TextToUtf8File(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    size_t start = at;
    char32_t code = NextCodePoint(text, at);
    if (IsByteEscape(code)) {
      bytes.push_back(static_cast<char>(code - 0xDC00));
    } else {
      bytes.append(text.substr(start, at - start));
    }
  }
  return bytes;
}

std::string_view CutToUtf16Units(std::string_view text, size_t maxUnits) {
  if (text.size() <= maxUnits) return text;  // never more units than bytes
  size_t units = 0, end = 0;
  for (size_t at = 0; at < text.size();) {
    char32_t code = NextCodePoint(text, at);
    units += code >= 0x10000 ? 2 : 1;
    if (units > maxUnits) break;
    end = at;
  }
  return text.substr(0, end);
}
