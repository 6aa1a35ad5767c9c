#include "base/Text.h"

#include <climits>

namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// Compares the first `length` bytes of a and b character by character: a
// single-byte letter is folded, the two bytes of a double-byte character must
// match exactly. Both texts are walked in step, so a byte is a trail byte in one
// exactly when it is in the other as long as they have matched so far.
bool EqualPrefixIgnoreCase(std::string_view a, std::string_view b, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    unsigned char ca = static_cast<unsigned char>(a[i]);
    if (IsLeadByte(ca) && i + 1 < length) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (IsLeadByte(ca)) return a[i] == b[i];  // a lone lead byte at the end
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

}  // namespace

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && EqualPrefixIgnoreCase(a, b, a.size());
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  return prefix.size() <= text.size() && EqualPrefixIgnoreCase(prefix, text, prefix.size());
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

std::string_view CutTo(std::string_view text, size_t maxBytes) {
  return text.size() > maxBytes ? text.substr(0, maxBytes) : text;
}

std::string_view CutAtCharacter(std::string_view text, size_t maxBytes) {
  size_t end = 0;
  while (end < text.size()) {
    size_t next = end + (IsLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1);
    if (next > maxBytes || next > text.size()) break;
    end = next;
  }
  return text.substr(0, end);
}

std::string_view FileTitle(std::string_view path) {
  // Walk by characters: the second byte of a GBK character can be a backslash.
  size_t nameStart = 0, dot = std::string_view::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(path[i]))) {
      ++i;
    } else if (path[i] == '\\' || path[i] == '/') {
      nameStart = i + 1;
      dot = std::string_view::npos;
    } else if (path[i] == '.') {
      dot = i;
    }
  }
  size_t end = dot == std::string_view::npos ? path.size() : dot;
  return path.substr(nameStart, end - nameStart);
}
