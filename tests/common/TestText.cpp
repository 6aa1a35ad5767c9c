#include "TestText.h"

#include <optional>
#include <stdexcept>

#include "base/Unicode.h"

std::string GbkBytes(std::string_view utf8, const GbkCodec& gbk) {
  std::string bytes;
  if (!TextToGbk(utf8, gbk, bytes)) throw std::runtime_error("not in GBK: " + std::string(utf8));
  return bytes;
}

std::string Utf16LeFile(std::string_view utf8) { return Utf16LeFile(std::u16string_view(Utf8ToUtf16(utf8))); }

std::string Utf16LeFile(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) bytes.append({char(unit & 0xFF), char(unit >> 8)});
  return bytes;
}

std::string Utf16BeFile(std::u16string_view text) {
  std::string bytes = "\xFE\xFF";
  for (char16_t unit : text) bytes.append({char(unit >> 8), char(unit & 0xFF)});
  return bytes;
}

std::optional<std::string> FromUtf16LeFile(std::string_view bytes) {
  if (!bytes.starts_with("\xFF\xFE")) return std::nullopt;
  std::u16string text;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return Utf16ToUtf8(text);
}

namespace {

// \(N*text): N copies of text (escaped itself); `at` is on the '(' and moves to the ')'.
std::string Repeated(std::string_view in, size_t& at) {
  const size_t star = in.find('*', at), close = in.find(')', at);
  if (star == in.npos || close == in.npos || star > close) throw std::runtime_error("bad \\(N*text)");
  const int count = std::stoi(std::string(in.substr(at + 1, star - at - 1)));
  const std::string piece = UnescapeCaseText(in.substr(star + 1, close - star - 1));
  std::string out;
  for (int n = 0; n < count; ++n) out += piece;
  at = close;
  return out;
}

// \xHH or \uHHHH: `digits` hexadecimal digits after `at`, which moves past them.
unsigned HexAt(std::string_view in, size_t& at, size_t digits) {
  if (at + digits >= in.size()) throw std::runtime_error("short \\x or \\u");
  const unsigned value = static_cast<unsigned>(std::stoul(std::string(in.substr(at + 1, digits)), nullptr, 16));
  at += digits;
  return value;
}

}  // namespace

std::string UnescapeCaseText(std::string_view in) {
  std::string out;
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] != '\\') {
      out += in[i];
      continue;
    }
    if (++i >= in.size()) throw std::runtime_error("lone backslash");
    switch (in[i]) {
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case '0': out += '\0'; break;
      case 's': out += ' '; break;
      case '\\': out += '\\'; break;
      case '"': out += '"'; break;
      case 'x': out += static_cast<char>(HexAt(in, i, 2)); break;
      case 'u': AppendCodePoint(out, static_cast<char32_t>(HexAt(in, i, 4))); break;
      case '(': out += Repeated(in, i); break;
      default: throw std::runtime_error(std::string("unknown escape \\") + in[i]);
    }
  }
  return out;
}
