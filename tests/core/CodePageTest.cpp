#include <gtest/gtest.h>

#include "settings/CodePage.h"

TEST(Utf8, ConvertsBothWaysAndMarksBrokenSequences) {
  struct Case {
    std::string utf8;
    std::u16string text;
    bool roundTrip;
  };
  const Case cases[] = {
      {"a", u"a", true},
      {"\xC3\xA9", u"\u00E9", true},
      {"\xE7\x99\xBE\xE5\xBA\xA6", u"百度", true},
      {"\xF0\x9F\x98\x80", u"\U0001F600", true},  // a surrogate pair
      {"\xC0\xAF", u"\uFFFD\uFFFD", false},          // overlong '/': two bad bytes
      {"\xE0\x80\xAF", u"\uFFFD", false},            // overlong, three bytes
      {"\xED\xA0\x80", u"\uFFFD", false},            // a surrogate written in UTF-8
      {"\xF4\x90\x80\x80", u"\uFFFD", false},        // beyond U+10FFFF
      {"\xE7\x99" "b", u"\uFFFDb", false},           // cut short
      {"\x80x", u"\uFFFDx", false},                  // a lone continuation byte
      {"\xFF", u"\uFFFD", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.text) << c.utf8;
    if (c.roundTrip) {
      EXPECT_EQ(Utf16ToUtf8(c.text), c.utf8);
    }
  }
  // A lone surrogate has no UTF-8 form.
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
}
