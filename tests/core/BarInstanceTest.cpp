#include <gtest/gtest.h>

#include <string>

#include "bar/BarInstance.h"
#include "base/Text.h"

namespace {

std::string Narrow(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

}  // namespace

TEST(BarInstance, FoldsEveryCasedLetterAndLeavesTheRest) {
  struct Case { std::u16string_view in, out; } cases[] = {
      {u"c:\\users\\ann\\quarrow.ini", u"C:\\USERS\\ANN\\QUARROW.INI"},
      {u"àéîõüþ÷ÿ", u"ÀÉÎÕÜÞ÷Ÿ"},             // ÷ has no case; ÿ's capital is Ÿ
      {u"āĉğıİĳĺľňŋźžſ", u"ĀĈĞıİĲĹĽŇŊŹŽſ"},  // both pairings of Extended-A; ı, İ, ſ alone
      {u"αβγσςω", u"ΑΒΓΣΣΩ"},                  // final sigma folds like sigma
      {u"дом ёж ђ", u"ДОМ ЁЖ Ђ"},
      {u"ｑｕａｒｒｏｗ", u"ＱＵＡＲＲＯＷ"},
      {u"网页搜索工具 𠮷", u"网页搜索工具 𠮷"},  // no case, surrogate pair untouched
      {u"[]{}@`~", u"[]{}@`~"},                // neighbours of the ASCII letters
  };
  for (const auto& c : cases) EXPECT_EQ(FoldPathCase(c.in), c.out) << Narrow(std::u16string(c.in));
}

TEST(BarInstance, KeyIsTheSameForOneFileInOtherCapitalsAndDiffersForOtherFiles) {
  const std::u16string key = BarInstanceKey(u"C:\\Users\\Ann\\AppData\\Roaming\\Quarrow\\Quarrow.ini");
  EXPECT_EQ(key, BarInstanceKey(u"c:\\users\\ann\\appdata\\roaming\\quarrow\\QUARROW.INI"));
  EXPECT_EQ(key, BarInstanceKey(u"C:\\USERS\\ANN\\APPDATA\\ROAMING\\QUARROW\\Quarrow.ini"));
  for (std::u16string_view other : {u"C:\\Users\\Ann\\AppData\\Roaming\\Quarrow2\\Quarrow.ini",
                                    u"D:\\Users\\Ann\\AppData\\Roaming\\Quarrow\\Quarrow.ini",
                                    u"C:\\Users\\Anna\\AppData\\Roaming\\Quarrow\\Quarrow.ini",
                                    u"C:\\Users\\Ann\\AppData\\Roaming\\Quarrow\\Quarrow.ini "}) {
    EXPECT_NE(key, BarInstanceKey(other)) << Narrow(std::u16string(other));
  }
  // Letters without case are told apart, not folded together.
  EXPECT_NE(BarInstanceKey(u"C:\\搜索\\Quarrow.ini"), BarInstanceKey(u"C:\\工具\\Quarrow.ini"));
  EXPECT_EQ(BarInstanceKey(u"C:\\Дом\\Quarrow.ini"), BarInstanceKey(u"C:\\дОМ\\Quarrow.ini"));
}

TEST(BarInstance, KeyNamesAKernelObjectWhateverThePath) {
  const std::u16string longPath = u"\\\\?\\C:\\" + std::u16string(30000, u'd') + u"\\Quarrow.ini";
  for (std::u16string_view path : {std::u16string_view(u"C:\\Quarrow.ini"), std::u16string_view(u""),
                                   std::u16string_view(longPath)}) {
    const std::u16string key = BarInstanceKey(path);
    EXPECT_EQ(key.size(), 28u);  // "Quarrow.Bar." and 16 digits
    EXPECT_EQ(key.rfind(u"Quarrow.Bar.", 0), 0u);
    EXPECT_EQ(key.find(u'\\'), std::u16string::npos);
    EXPECT_EQ(key.find_first_not_of(u"Quarrow.Bar.0123456789ABCDEF"), std::u16string::npos);
  }
  EXPECT_NE(BarInstanceKey(longPath), BarInstanceKey(longPath.substr(0, longPath.size() - 1)));
}
