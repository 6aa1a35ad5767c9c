#include <gtest/gtest.h>

#include <climits>

#include "base/Text.h"

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
