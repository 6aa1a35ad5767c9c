#include "search/SearchUrl.h"

#include "base/Text.h"
#include "base/Unicode.h"
#include "settings/FileEncoding.h"

namespace {

constexpr std::string_view kWebPrefix = "www.";
constexpr std::string_view kHttpPrefix = "http:";
constexpr std::string_view kSitePrefix = "site:";
constexpr std::string_view kHttpScheme = "http://";

constexpr std::string_view kUtf8Placeholder = "{q}";
constexpr std::string_view kGbkPlaceholder = "{q:gbk}";
constexpr std::string_view kRawPlaceholder = "{q:raw}";

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

// The program's text as UTF-8 that any engine can decode: a lone surrogate
// (which a window's text may hold) or a byte escape becomes U+FFFD.
std::string WellFormedUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    char32_t code = NextCodePoint(text, at);
    AppendCodePoint(out, code >= 0xD800 && code <= 0xDFFF ? char32_t{0xFFFD} : code);
  }
  return out;
}

// The text's GBK bytes; a character without a GBK form as "&#N;", which is
// what a browser submits for it in a form of that encoding.
std::string GbkWithReferences(std::string_view text, const GbkCodec& gbk) {
  std::string bytes;
  if (TextToGbk(text, gbk, bytes)) return bytes;
  bytes.clear();
  for (size_t at = 0; at < text.size();) {
    const size_t start = at;
    const char32_t code = NextCodePoint(text, at);
    std::string one;
    if (code < 0xD800 || code > 0xDFFF) {
      if (TextToGbk(text.substr(start, at - start), gbk, one)) {
        bytes += one;
        continue;
      }
    }
    bytes.append("&#").append(FormatInt(static_cast<int>(code))).push_back(';');
  }
  return bytes;
}

}  // namespace

std::string_view QueryAsSearched(std::string_view queryText) { return TrimLeft(queryText); }

bool IsAddress(std::string_view query) {
  return StartsWithIgnoreCase(query, kWebPrefix) || StartsWithIgnoreCase(query, kHttpPrefix);
}

std::string PercentEncode(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(bytes.size() * 3);
  for (char byte : bytes) {
    const auto c = static_cast<unsigned char>(byte);
    if (IsUnreserved(c)) {
      encoded.push_back(byte);
    } else {
      encoded.push_back('%');
      encoded.push_back(kHex[c >> 4]);
      encoded.push_back(kHex[c & 0xF]);
    }
  }
  return encoded;
}

std::string FillSearchCode(std::string_view searchCode, std::string_view terms, const GbkCodec& gbk) {
  std::string url;
  bool placed = false;
  for (size_t at = 0; at < searchCode.size();) {
    const std::string_view rest = searchCode.substr(at);
    if (rest.starts_with(kUtf8Placeholder)) {
      url += PercentEncode(WellFormedUtf8(terms));
      at += kUtf8Placeholder.size();
    } else if (rest.starts_with(kGbkPlaceholder)) {
      url += PercentEncode(GbkWithReferences(terms, gbk));
      at += kGbkPlaceholder.size();
    } else if (rest.starts_with(kRawPlaceholder)) {
      url += terms;
      at += kRawPlaceholder.size();
    } else {
      url.push_back(searchCode[at++]);
      continue;
    }
    placed = true;
  }
  if (!placed) url += PercentEncode(WellFormedUtf8(terms));
  return url;
}

std::string SearchTerms(std::string_view query, bool siteOn, std::string_view site, bool keywordOn,
                        std::string_view keyword) {
  std::string terms;
  if (siteOn) terms.append(kSitePrefix).append(site).push_back(' ');
  terms.append(query);
  if (keywordOn) terms.append(" ").append(keyword);
  return terms;
}

std::string ComposeSearchUrl(std::string_view query, std::string_view searchCode, bool siteOn,
                             std::string_view site, bool keywordOn, std::string_view keyword,
                             const GbkCodec& gbk) {
  if (IsAddress(query)) return std::string(query);
  return FillSearchCode(searchCode, SearchTerms(query, siteOn, site, keywordOn, keyword), gbk);
}

std::string UrlForShell(std::string_view url) {
  if (StartsWithIgnoreCase(url, kWebPrefix)) return std::string(kHttpScheme).append(url);
  return std::string(url);
}
