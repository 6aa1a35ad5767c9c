#include "suggest/SuggestAnswer.h"

#include <algorithm>
#include <optional>

#include "base/Text.h"
#include "base/Unicode.h"
#include "settings/ProfileStore.h"

// Our own reader rather than a JSON library: Baidu's form is JavaScript, not
// JSON (bare keys, single quotes, a call around it), which no strict JSON
// parser takes; what is needed of either form is a few hundred lines; and the
// limits a reply from the network must meet (its size, its nesting, what
// counts as text) are easier to be sure of in code that does nothing else.

namespace {

// Deeper than any service nests its reply; the reader recurses once per
// level, so this also bounds its stack whatever a reply holds.
constexpr int kMaxDepth = 32;

enum class Charset { kUtf8, kGbk, kOther };

// The charset parameter of a Content-Type value ("text/javascript;
// charset=gbk"), without quotes; nothing when the value names none.
std::optional<std::string_view> CharsetParameter(std::string_view contentType) {
  for (size_t at = contentType.find(';'); at != std::string_view::npos;) {
    size_t end = contentType.find(';', at + 1);
    std::string_view parameter =
        Trim(contentType.substr(at + 1, end == std::string_view::npos ? end : end - at - 1));
    at = end;
    size_t equals = parameter.find('=');
    if (equals == std::string_view::npos || !EqualsIgnoreCase(TrimRight(parameter.substr(0, equals)), "charset")) {
      continue;
    }
    std::string_view value = Trim(parameter.substr(equals + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    return value;
  }
  return std::nullopt;
}

Charset CharsetOf(std::string_view contentType) {
  std::optional<std::string_view> name = CharsetParameter(contentType);
  if (!name) return Charset::kUtf8;  // JSON's own; Baidu names its GBK
  for (std::string_view utf8 : {"utf-8", "utf8"}) {
    if (EqualsIgnoreCase(*name, utf8)) return Charset::kUtf8;
  }
  // GB2312 is a part of GBK; GB18030's four-byte characters do not decode
  // through a GBK table and give nothing, as any other undecodable byte.
  for (std::string_view gbk : {"gbk", "gb2312", "gb18030"}) {
    if (EqualsIgnoreCase(*name, gbk)) return Charset::kGbk;
  }
  return Charset::kOther;
}

bool IsSurrogate(char32_t code) { return code >= 0xD800 && code < 0xE000; }

// True when every byte belongs to a UTF-8 character (an encoded surrogate is none).
bool IsWellFormedUtf8(std::string_view bytes) {
  for (size_t at = 0; at < bytes.size();) {
    size_t start = at;
    char32_t code = NextCodePoint(bytes, at);
    // A broken byte reads as U+FFFD and one byte; U+FFFD itself has three.
    if ((code == 0xFFFD && at - start != 3) || IsSurrogate(code)) return false;
  }
  return true;
}

// True when some character takes three or four bytes in UTF-8 (CJK does).
bool HasLongUtf8Character(std::string_view bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](char byte) { return static_cast<unsigned char>(byte) >= 0xE0; });
}

// The body as the program's text; nothing when some byte is no character of
// its charset (the wrong charset named, or a damaged reply).
//
// GBK is decoded whole before anything is parsed: its second bytes run from
// 0x40 to 0xFE, so half a character can be a backslash (運 is DF 5C) or a
// bracket, and a reader of the raw bytes would take 運" for an escaped quote.
// Once decoded, every byte below 0x80 is that ASCII character.
std::optional<std::string> BodyText(std::string_view body, Charset charset, const GbkCodec& gbk) {
  if (charset == Charset::kUtf8) {
    if (body.starts_with("\xEF\xBB\xBF")) body.remove_prefix(3);
    if (!IsWellFormedUtf8(body)) return std::nullopt;
    return std::string(body);
  }
  if (charset == Charset::kGbk) {
    if (IsAscii(body)) return std::string(body);
    // UTF-8 said to be GBK decodes, as garbage (天气 reads 澶╂皵). A body that
    // is well-formed UTF-8 with a character of three bytes or more, which
    // text really in GBK almost never is, was mislabelled: nothing is shown.
    if (IsWellFormedUtf8(body) && HasLongUtf8Character(body)) return std::nullopt;
    std::u16string units;
    if (!gbk.Decode(body, units)) return std::nullopt;
    // No GBK character is half a pair; a table that gave one gave no text.
    if (std::any_of(units.begin(), units.end(), [](char16_t unit) { return IsSurrogate(unit); })) return std::nullopt;
    return Utf16ToUtf8(units);
  }
  return std::nullopt;
}

// Characters that would break the query box's one line or show as boxes.
bool IsControl(char32_t code) {
  return code < 0x20 || (code >= 0x7F && code <= 0x9F) || code == 0x2028 || code == 0x2029;
}

std::string ControlsBlanked(std::string_view text) {
  std::string blanked;
  blanked.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    size_t start = at;
    char32_t code = NextCodePoint(text, at);
    if (IsControl(code)) {
      blanked.push_back(' ');
    } else {
      blanked.append(text.substr(start, at - start));
    }
  }
  return blanked;
}

// Adds `text` made fit for the query box, unless it comes to nothing, is one
// already kept, or is longer than the settings file keeps of a query (chosen,
// it would be searched for and then cut in the history).
void Keep(std::vector<std::string>& kept, std::string_view text) {
  if (kept.size() >= kMaxSuggestions) return;
  std::string blanked = ControlsBlanked(text);
  std::string_view trimmed = Trim(blanked);
  if (trimmed.empty() || CutToUtf16Units(trimmed, kMaxValueLength).size() < trimmed.size()) return;
  if (std::find(kept.begin(), kept.end(), trimmed) != kept.end()) return;
  kept.emplace_back(trimmed);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '$'; }
bool IsNamePart(char c) { return IsNameStart(c) || IsDigit(c); }

int HexDigit(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// One reply's text read from its start. Each Read is false at the first
// thing that breaks the form, which breaks the whole reply; the reader is
// then dropped, so nothing is undone on the way out.
class AnswerReader {
 public:
  // `javaScript`: Baidu's form, which also has single-quoted strings and bare keys.
  AnswerReader(std::string_view text, bool javaScript) : m_text(text), m_javaScript(javaScript) {}

  // ["query", [suggestions], anything more] and nothing after it.
  bool ReadOpenSearch(std::vector<std::string>& suggestions) {
    bool listRead = false;
    bool read = ReadArray([&](size_t index) {
      if (index == 0) return SkipString();  // the query the list answers
      if (index > 1) return SkipValue();    // descriptions, addresses
      listRead = true;
      return ReadSuggestionList(suggestions);
    });
    return read && listRead && AtEnd();
  }

  // callback.name({... s: [suggestions] ...}); and nothing after it.
  bool ReadJsonp(std::vector<std::string>& suggestions) {
    bool listRead = false;
    bool read = ReadCallbackName() && Take('(') && ReadObject([&](const std::string& key) {
      if (key != "s") return SkipValue();
      listRead = true;  // when `s` comes twice the last one counts, as in JavaScript
      return ReadSuggestionList(suggestions);
    });
    if (!read || !listRead || !Take(')')) return false;
    Take(';');
    return AtEnd();
  }

 private:
  void SkipBlanks() {
    while (m_at < m_text.size() && (m_text[m_at] == ' ' || m_text[m_at] == '\t' || m_text[m_at] == '\n' ||
                                    m_text[m_at] == '\r')) {
      ++m_at;
    }
  }
  bool At(char c) const { return m_at < m_text.size() && m_text[m_at] == c; }
  // `c` next, right here.
  bool Accept(char c) {
    if (!At(c)) return false;
    ++m_at;
    return true;
  }
  // `c` next after any blanks.
  bool Take(char c) {
    SkipBlanks();
    return Accept(c);
  }
  bool AtEnd() {
    SkipBlanks();
    return m_at == m_text.size();
  }
  bool AtQuote() const { return At('"') || (m_javaScript && At('\'')); }

  // `[` items `]`, each item read by `readItem(index)`.
  template <typename ReadItem>
  bool ReadArray(ReadItem readItem) {
    if (!Take('[') || ++m_depth > kMaxDepth) return false;
    if (!Take(']')) {
      size_t index = 0;
      do {
        if (!readItem(index++)) return false;
      } while (Take(','));
      if (!Take(']')) return false;
    }
    --m_depth;
    return true;
  }

  // `{` key `:` value, ... `}`, each value read by `readMember(key)`.
  template <typename ReadMember>
  bool ReadObject(ReadMember readMember) {
    if (!Take('{') || ++m_depth > kMaxDepth) return false;
    if (!Take('}')) {
      do {
        std::string key;
        if (!ReadKey(key) || !Take(':') || !readMember(key)) return false;
      } while (Take(','));
      if (!Take('}')) return false;
    }
    --m_depth;
    return true;
  }

  bool ReadKey(std::string& key) {
    SkipBlanks();
    if (m_javaScript && m_at < m_text.size() && IsNameStart(m_text[m_at])) {
      size_t start = m_at;
      while (m_at < m_text.size() && IsNamePart(m_text[m_at])) ++m_at;
      key = m_text.substr(start, m_at - start);
      return true;
    }
    bool isText = false;
    return ReadString(key, isText);
  }

  // window.baidu.sug: names joined by dots.
  bool ReadCallbackName() {
    SkipBlanks();
    do {
      if (m_at >= m_text.size() || !IsNameStart(m_text[m_at])) return false;
      while (m_at < m_text.size() && IsNamePart(m_text[m_at])) ++m_at;
    } while (Accept('.'));
    return true;
  }

  bool ReadSuggestionList(std::vector<std::string>& suggestions) {
    suggestions.clear();
    return ReadArray([&](size_t) {
      SkipBlanks();
      if (!AtQuote()) return SkipValue();  // a number or an object is no suggestion
      std::string text;
      bool isText = false;
      if (!ReadString(text, isText)) return false;
      if (isText) Keep(suggestions, text);
      return true;
    });
  }

  bool SkipValue() {
    SkipBlanks();
    if (m_at >= m_text.size()) return false;
    char c = m_text[m_at];
    if (c == '[') return ReadArray([this](size_t) { return SkipValue(); });
    if (c == '{') return ReadObject([this](const std::string&) { return SkipValue(); });
    if (c == '-' || IsDigit(c)) return SkipNumber();
    if (AtQuote()) return SkipString();
    return SkipWord("true") || SkipWord("false") || SkipWord("null");
  }

  bool SkipString() {
    std::string text;
    bool isText = false;
    return ReadString(text, isText);
  }

  bool SkipWord(std::string_view word) {
    if (m_text.substr(m_at, word.size()) != word) return false;
    m_at += word.size();
    return true;
  }

  // One or more decimal digits.
  bool SkipDigits() {
    size_t start = m_at;
    while (m_at < m_text.size() && IsDigit(m_text[m_at])) ++m_at;
    return m_at > start;
  }

  // JSON's number: -? (0 | [1-9][0-9]*) (. digits)? ([eE] [+-]? digits)?
  bool SkipNumber() {
    Accept('-');
    if (!Accept('0') && !SkipDigits()) return false;
    if (Accept('.') && !SkipDigits()) return false;
    if (Accept('e') || Accept('E')) {
      if (!Accept('+')) Accept('-');
      if (!SkipDigits()) return false;
    }
    return true;
  }

  // A quoted string's characters into `text`. `isText` is false when an
  // escape gave half a surrogate pair: that is no character, and such a
  // string no suggestion.
  bool ReadString(std::string& text, bool& isText) {
    SkipBlanks();
    if (!AtQuote()) return false;
    char quote = m_text[m_at++];
    text.clear();
    isText = true;
    while (m_at < m_text.size()) {
      char c = m_text[m_at++];
      if (c == quote) return true;
      // Neither JSON nor JavaScript lets a string hold a raw line break or other control byte.
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c != '\\') {
        text.push_back(c);
      } else if (!ReadEscape(text, isText)) {
        return false;
      }
    }
    return false;  // the reply ends inside the string
  }

  bool ReadEscape(std::string& text, bool& isText) {
    if (m_at >= m_text.size()) return false;
    char c = m_text[m_at++];
    switch (c) {
      case '"': case '\\': case '/': text.push_back(c); return true;
      case '\'': text.push_back(c); return m_javaScript;
      case 'b': text.push_back('\b'); return true;
      case 'f': text.push_back('\f'); return true;
      case 'n': text.push_back('\n'); return true;
      case 'r': text.push_back('\r'); return true;
      case 't': text.push_back('\t'); return true;
      case 'u': return ReadUnicodeEscape(text, isText);
      default: return false;
    }
  }

  bool ReadHex4(char32_t& code) {
    if (m_text.size() - m_at < 4) return false;
    code = 0;
    for (int i = 0; i < 4; ++i) {
      int digit = HexDigit(m_text[m_at++]);
      if (digit < 0) return false;
      code = code * 16 + static_cast<char32_t>(digit);
    }
    return true;
  }

  // The four digits after \u; a high surrogate joins the low one of the
  // escape right after it into one character. When that escape is no low
  // half, the string is no text whatever it holds, so it is not read again.
  bool ReadUnicodeEscape(std::string& text, bool& isText) {
    char32_t code = 0;
    if (!ReadHex4(code)) return false;
    if (code >= 0xD800 && code < 0xDC00 && m_text.substr(m_at, 2) == "\\u") {
      m_at += 2;
      char32_t low = 0;
      if (!ReadHex4(low)) return false;
      if (low >= 0xDC00 && low < 0xE000) code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
    }
    if (IsSurrogate(code)) {
      isText = false;
    } else {
      AppendCodePoint(text, code);
    }
    return true;
  }

  std::string_view m_text;
  size_t m_at = 0;
  bool m_javaScript;
  int m_depth = 0;
};

}  // namespace

std::vector<std::string> ReadSuggestions(std::string_view body, std::string_view contentType, const GbkCodec& gbk) {
  if (body.size() > kMaxAnswerBytes) return {};
  std::optional<std::string> text = BodyText(body, CharsetOf(contentType), gbk);
  if (!text) return {};
  std::vector<std::string> suggestions;
  size_t start = text->find_first_not_of(" \t\n\r");
  bool openSearch = start != std::string::npos && (*text)[start] == '[';
  bool read = openSearch ? AnswerReader(*text, false).ReadOpenSearch(suggestions)
                         : AnswerReader(*text, true).ReadJsonp(suggestions);
  if (!read) return {};
  return suggestions;
}
