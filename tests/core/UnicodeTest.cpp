#include <gtest/gtest.h>

#include "IconvGbk.h"
#include "base/Unicode.h"
#include "settings/FileEncoding.h"

namespace {

const IconvGbk kGbk;

std::string Escaped(unsigned char byte) {
  std::string text;
  AppendCodePoint(text, ByteEscape(byte));
  return text;
}

}  // namespace

TEST(Utf8, EveryUtf16UnitSurvivesTheTripThereAndBack) {
  struct Case {
    std::string utf8;
    std::u16string units;
    bool roundTrip;
  } cases[] = {
      {"a", u"a", true},
      {"\xC3\xA9", u"\u00E9", true},
      {"百度", u"百度", true},
      {"🍜", u"\U0001F35C", true},                       // a surrogate pair
      {"\xED\xA0\x80" "x", std::u16string(1, char16_t(0xD800)) + u"x", true},  // a lone surrogate kept
      {"\xC0\xAF", u"\uFFFD\uFFFD", false},             // overlong '/': two bad bytes
      {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD", false},   // overlong, three bytes
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", false},  // beyond U+10FFFF
      {"\xE7\x99" "b", u"\uFFFD\uFFFDb", false},        // cut short
      {"\xFF", u"\uFFFD", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.units) << c.utf8;
    if (c.roundTrip) {
      EXPECT_EQ(Utf16ToUtf8(c.units), c.utf8);
    }
  }
  // A pair whose halves come apart stays two lone surrogates.
  std::u16string halves = {char16_t(0xDC00), char16_t(0xD800)};
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(halves)), halves);
}

TEST(Utf8, AUtf8FilesBrokenBytesComeBackAsThemselves) {
  for (std::string bytes : {"plain 百度", "a\xE7\x99" "b", "\xED\xA0\x80", "\x80\xFF", "🍜\xF0\x9F"}) {
    std::string text = Utf8FileToText(bytes);
    EXPECT_EQ(TextToUtf8File(text), bytes);
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text) << "the text is well-formed";
  }
  EXPECT_EQ(Utf8FileToText("a\xE7\x99" "b"), "a" + Escaped(0xE7) + Escaped(0x99) + "b");
}

TEST(Utf8, ACutInUtf16UnitsNeverSplitsACharacter) {
  struct Case { std::string text; size_t units; std::string cut; } cases[] = {
      {"abc", 2, "ab"},
      {"百度一下", 3, "百度一"},
      {"a🍜", 2, "a"},   // the pair would need units 2 and 3
      {"a🍜", 3, "a🍜"},
      {"", 5, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(CutToUtf16Units(c.text, c.units), c.cut) << c.text;
}

TEST(Gbk, DecodesCharactersAndKeepsEveryOtherByte) {
  struct Case { std::string bytes, text; } cases[] = {
      {"", ""},
      {"MFC csdn.net", "MFC csdn.net"},
      {"\xB0\xD9\xB6\xC8\xD2\xBB\xCF\xC2", "百度一下"},
      {"\xB0\x41\xB0\x61", "癆癮"},                              // second bytes that look like letters
      {"ab\x81", "ab" + Escaped(0x81)},                          // a lone lead byte at the end
      {"\x81\x20x", Escaped(0x81) + " x"},                       // a pair broken by a blank
      {"\xB0\xD9\x81\x0D", "百" + Escaped(0x81) + "\r"},
      {"\xFF", Escaped(0xFF)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GbkToText(c.bytes, kGbk), c.text);
    std::string back;
    EXPECT_TRUE(TextToGbk(c.text, kGbk, back)) << c.text;
    EXPECT_EQ(back, c.bytes);
  }
}

TEST(Gbk, SaysWhatItCannotHold) {
  for (std::string text : {"한국어", "🍜", "𠮷", "x\uFFFD", "\xED\xA0\x80"}) {
    std::string bytes = "unchanged";
    EXPECT_FALSE(TextToGbk(text, kGbk, bytes)) << text;
    EXPECT_EQ(bytes.find('?'), std::string::npos) << "nothing is written as '?'";
  }
}

TEST(Gbk, ACutFallsBetweenCharacters) {
  const std::string bai = "\xB0\xD9";  // 百
  struct Case { std::string bytes; size_t max; std::string cut; } cases[] = {
      {"abcd", 3, "abc"},
      {"a" + bai + bai, 4, "a" + bai},      // the second character would need byte 5
      {"a" + bai + bai, 5, "a" + bai + bai},
      {"ab\x81", 3, "ab\x81"},              // a lone lead byte is a byte of its own
      {"a\x81\x20", 2, "a\x81"},
  };
  for (const auto& c : cases) EXPECT_EQ(CutGbkAtCharacter(c.bytes, c.max), c.cut);
}
