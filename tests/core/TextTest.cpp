#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "base/Text.h"
#include "base/Texts.h"

TEST(ParseInt, FollowsTheAtoiRule) {
  struct Case { const char* text; int value; } cases[] = {
      {"10", 10},        {"  7x", 7},       {" \t\n-3", -3},     {"+12", 12},
      {"abc", 0},        {"", 0},           {"-", 0},            {"- 5", 0},
      {"0012", 12},      {"12 34", 12},     {"2147483647", INT_MAX},
      {"2147483648", INT_MAX},              {"99999999999999999999", INT_MAX},
      {"-2147483648", INT_MIN},             {"-2147483649", INT_MIN},
      {"-99999999999999999999", INT_MIN},   {"\x0b\x0c" "5", 5},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(Trim, RemovesAsciiBlanksOnly) {
  struct Case { const char* text; const char* left; const char* both; } cases[] = {
      {"  ab c \t", "ab c \t", "ab c"},
      {"\r\n\v\fx\r\n", "x\r\n", "x"},
      {"   ", "", ""},
      {"", "", ""},
      {"百度 ", "百度 ", "百度"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TrimLeft(c.text), c.left);
    EXPECT_EQ(Trim(c.text), c.both);
  }
}

TEST(EqualsIgnoreCase, FoldsOnlySingleByteLetters) {
  // 0xB0 0x41 and 0xB0 0x61 are two different GBK characters whose second
  // bytes happen to be 'A' and 'a'.
  struct Case { std::string a, b; bool equal; } cases[] = {
      {"MFC", "mfc", true},
      {"MFC", "MFC ", false},
      {"Google谷歌", "GOOGLE谷歌", true},
      {"\xB0\x41", "\xB0\x61", false},
      {"x\xB0\x41y", "X\xB0\x41Y", true},
      {"\xB0\x41\xB0\x41", "\xB0\x61\xB0\x41", false},
      {"", "", true},
      {"MF", "MFC", false},
  };
  for (const auto& c : cases) EXPECT_EQ(EqualsIgnoreCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
}

TEST(StartsWithIgnoreCase, IsADbcsAwarePrefixTest) {
  struct Case { std::string text, prefix; bool starts; } cases[] = {
      {"abc", "AB", true},     {"abc", "abc", true},  {"ab", "abc", false},
      {"WWW.x", "www.", true}, {"abc", "", true},     {"\xB0\x41z", "\xB0\x61", false},
      {"\xB0\x41z", "\xB0\x41Z", true},
  };
  for (const auto& c : cases) EXPECT_EQ(StartsWithIgnoreCase(c.text, c.prefix), c.starts) << c.text << " / " << c.prefix;
}

TEST(IndexedKey, IsPrefixAndDecimalIndex) {
  EXPECT_EQ(IndexedKey("E", 0), "E0");
  EXPECT_EQ(IndexedKey("H", 99), "H99");
  EXPECT_EQ(IndexedKey("S", 10), "S10");
}

// The notification icon's tooltip field holds 63 bytes and a closing zero.
TEST(CutAtCharacter, KeepsWholeTwoByteCharactersOnly) {
  const std::string a63(63, 'a'), a62(62, 'a'), a61(61, 'a');
  const std::string zhong = "中";  // two bytes in GBK
  struct Case {
    std::string text, fits;
  } cases[] = {
      {"", ""},
      {std::string(kTrayTip), std::string(kTrayTip)},  // the 30 bytes the bar uses
      {a63, a63},
      {a63 + "b", a63},
      {a61 + zhong, a61 + zhong},  // exactly 63
      {a62 + zhong, a62},          // the character would need byte 64
      {std::string(40, 'x') + zhong + zhong + std::string(30, 'y'),
       std::string(40, 'x') + zhong + zhong + std::string(19, 'y')},
      {"ab\x81", "ab"},  // a lead byte without its second byte
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(std::string(CutAtCharacter(c.text, 63)), c.fits);
  }
}

TEST(FileTitle, IsTheLastNameWithoutItsExtension) {
  struct Case { const char* path; const char* title; } cases[] = {
      {"C:\\Tools\\Quarrow.exe", "Quarrow"},
      {"Z:/home/user/bin/Quarrow.exe", "Quarrow"},
      {"C:\\a.b\\Quarrow", "Quarrow"},          // a dot in a folder is no extension
      {"C:\\Tools\\Quarrow.old.exe", "Quarrow.old"},
      {"C:\\Tools\\.exe", ""},
      {"Quarrow.exe", "Quarrow"},
      {"", ""},
      {"C:\\工具\\搜索.exe", "搜索"},
      // 0x5C (a backslash) as the second byte of a character: not a separator.
      {"C:\\\x95\x5C\\\x95\x5C" "bar.exe", "\x95\x5C" "bar"},
      {"C:\\dir\\name\x81", "name\x81"},       // a cut character at the end stays
  };
  for (const auto& c : cases) EXPECT_EQ(FileTitle(c.path), c.title) << c.path;
}
