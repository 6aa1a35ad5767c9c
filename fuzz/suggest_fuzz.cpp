// libFuzzer target: any bytes as the reply of a suggestion service, with a
// Content-Type chosen by the first byte. Besides crashes, hangs and reads out
// of bounds it checks what must hold of the suggestions of any reply: at most
// ten, each well-formed text fit for the query box (no escapes of undecoded
// bytes, no control characters, no blanks at its ends, not empty, not longer
// than the settings file keeps), none twice; and that ASCII reads the same
// whichever of the two charsets is named, and that a reply with anything
// after its end is none.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "IconvGbk.h"
#include "base/Text.h"
#include "base/Unicode.h"
#include "settings/ProfileStore.h"
#include "suggest/SuggestAnswer.h"

namespace {

const IconvGbk kGbk;

constexpr std::string_view kContentTypes[] = {
    "", "application/json; charset=utf-8", "text/javascript; charset=gbk", "text/javascript; charset=GB18030",
    "text/html; charset=iso-8859-1",
};

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "suggest_fuzz: %s\n", what);
    std::abort();
  }
}

// Every byte part of a character, and no character a surrogate (which
// includes the escapes of undecoded bytes) or a control character.
bool IsCleanText(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    size_t start = at;
    char32_t code = NextCodePoint(text, at);
    bool broken = code == 0xFFFD && at - start != 3;
    bool control = code < 0x20 || (code >= 0x7F && code <= 0x9F) || code == 0x2028 || code == 0x2029;
    if (broken || control || (code >= 0xD800 && code < 0xE000)) return false;
  }
  return true;
}

void CheckSuggestions(const std::vector<std::string>& suggestions) {
  Check(suggestions.size() <= kMaxSuggestions, "more than ten suggestions");
  for (size_t i = 0; i < suggestions.size(); ++i) {
    const std::string& s = suggestions[i];
    Check(!s.empty(), "an empty suggestion");
    Check(IsCleanText(s), "a suggestion that is not clean text");
    Check(!IsBlank(s.front()) && !IsBlank(s.back()), "a suggestion with blanks at an end");
    Check(Utf8ToUtf16(s).size() <= kMaxValueLength, "a suggestion longer than the settings file keeps");
    for (size_t j = 0; j < i; ++j) Check(suggestions[j] != s, "a suggestion twice");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string_view contentType = kContentTypes[data[0] % std::size(kContentTypes)];
  std::string_view body(reinterpret_cast<const char*>(data + 1), size - 1);

  std::vector<std::string> suggestions = ReadSuggestions(body, contentType, kGbk);
  CheckSuggestions(suggestions);

  if (IsAscii(body)) {
    Check(ReadSuggestions(body, "text/javascript; charset=gbk", kGbk) == ReadSuggestions(body, "", kGbk),
          "ASCII read differently as GBK and as UTF-8");
  }
  if (!suggestions.empty() && body.size() < kMaxAnswerBytes) {
    Check(ReadSuggestions(std::string(body) + "x", contentType, kGbk).empty(), "a reply with more after its end");
  }
  return 0;
}
