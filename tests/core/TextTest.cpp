#include <gtest/gtest.h>

#include <climits>
#include <string>

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

TEST(EqualsIgnoreCase, FoldsTheLettersOfEveryCasedScript) {
  struct Case { std::string a, b; bool equal; } cases[] = {
      {"MFC", "mfc", true},
      {"MFC", "MFC ", false},
      {"Google谷歌", "GOOGLE谷歌", true},
      {"百度", "佰度", false},                 // no case: exact
      {"Äpfel", "äPFEL", true},
      {"Москва", "МОСКВА", true},
      {"ΣΟΦΙΑ", "σοφια", true},
      {"σ", "ς", true},                       // final sigma meets sigma
      {"Ａｂｃ", "ａＢＣ", true},               // full-width Latin letters
      {"𐐀", "𐐨", true},                      // beyond the Basic Multilingual Plane
      {"Straße", "STRASSE", false},           // one letter never becomes two
      {"ı", "I", false},                      // ASCII text compares as it always did
      {"\u212A", "k", false},                 // the Kelvin sign is no letter k
      {"", "", true},
      {"MF", "MFC", false},
  };
  for (const auto& c : cases) EXPECT_EQ(EqualsIgnoreCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
}

TEST(StartsWithIgnoreCase, ComparesFoldedCharactersNotBytes) {
  struct Case { std::string text, prefix; bool starts; } cases[] = {
      {"abc", "AB", true},     {"abc", "abc", true},  {"ab", "abc", false},
      {"WWW.x", "www.", true}, {"abc", "", true},     {"百度一下", "百度", true},
      {"Привет", "пРИ", true}, {"ⱥx", "Ⱥ", true},     // two and three bytes, one letter
      {"百", "\xE7\x99", false},                     // half a character is no prefix
  };
  for (const auto& c : cases) EXPECT_EQ(StartsWithIgnoreCase(c.text, c.prefix), c.starts) << c.text << " / " << c.prefix;
}

TEST(IndexedKey, IsPrefixAndDecimalIndex) {
  EXPECT_EQ(IndexedKey("E", 0), "E0");
  EXPECT_EQ(IndexedKey("H", 99), "H99");
  EXPECT_EQ(IndexedKey("S", 10), "S10");
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
      {"C:\\Użytkownicy\\한국어\\도구.v2.exe", "도구.v2"},
  };
  for (const auto& c : cases) EXPECT_EQ(FileTitle(c.path), c.title) << c.path;
}
