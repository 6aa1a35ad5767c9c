#include "settings/CodePage.h"

#include "base/Text.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;

}  // namespace

std::u16string AsciiCodePage::ToUtf16(std::string_view ansi) const {
  std::u16string text;
  text.reserve(ansi.size());
  for (size_t i = 0; i < ansi.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(ansi[i]);
    if (c < 0x80) {
      text.push_back(c);
      continue;
    }
    text.push_back(u'?');
    if (IsLeadByte(c) && i + 1 < ansi.size()) ++i;
  }
  return text;
}

std::string AsciiCodePage::FromUtf16(std::u16string_view text) const {
  std::string ansi;
  ansi.reserve(text.size());
  for (char16_t unit : text) {
    // Each half of a surrogate pair becomes a '?' of its own, as in the system's conversion.
    ansi.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
  }
  return ansi;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string text;
  text.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      text.push_back(c);
      ++i;
      continue;
    }
    int length = c >= 0xF0 && c < 0xF5 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
    if (c >= 0xF5) length = 0;
    char32_t code = length == 2 ? c & 0x1F : length == 3 ? c & 0x0F : c & 0x07;
    int taken = 1;
    while (length && taken < length && i + taken < utf8.size() &&
           (static_cast<unsigned char>(utf8[i + taken]) & 0xC0) == 0x80) {
      code = (code << 6) | (static_cast<unsigned char>(utf8[i + taken]) & 0x3F);
      ++taken;
    }
    bool whole = length && taken == length;
    // Overlong forms, surrogates and code points beyond U+10FFFF are broken too.
    if (whole && ((length == 3 && (code < 0x800 || (code >= 0xD800 && code < 0xE000))) ||
                  (length == 4 && (code < 0x10000 || code > 0x10FFFF)))) {
      whole = false;
    }
    if (!whole) {
      text.push_back(kReplacement);
    } else if (code >= 0x10000) {
      code -= 0x10000;
      text.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      text.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      text.push_back(static_cast<char16_t>(code));
    }
    i += taken;
  }
  return text;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string utf8;
  utf8.reserve(text.size() * 3);
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t code = text[i];
    if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (code >= 0xD800 && code < 0xE000) {
      code = kReplacement;
    }
    if (code < 0x80) {
      utf8.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      utf8.push_back(static_cast<char>(0xC0 | (code >> 6)));
      utf8.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      utf8.push_back(static_cast<char>(0xE0 | (code >> 12)));
      utf8.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      utf8.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      utf8.push_back(static_cast<char>(0xF0 | (code >> 18)));
      utf8.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
      utf8.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      utf8.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return utf8;
}
