#include <gtest/gtest.h>

#include "base/Unicode.h"
#include "install/ProgramFolder.h"

TEST(ProgramFolder, ProgramDirectlyInFolder) {
  struct Case { std::u16string_view program, folder; bool in; } cases[] = {
      {u"C:\\Users\\Ann\\AppData\\Local\\Programs\\Quarrow\\Quarrow.exe",
       u"C:\\Users\\Ann\\AppData\\Local\\Programs\\Quarrow\\", true},
      {u"c:\\users\\ann\\appdata\\local\\programs\\quarrow\\QUARROW.EXE",
       u"C:\\Users\\Ann\\AppData\\Local\\Programs\\Quarrow", true},
      {u"C:\\Programs\\Quarrow\\Quarrow.exe", u"C:\\Programs\\Quarrow\\\\", true},
      {u"C:\\Programs\\Quarrow\\old\\Quarrow.exe", u"C:\\Programs\\Quarrow\\", false},  // below it
      {u"C:\\Programs\\Quarrow2\\Quarrow.exe", u"C:\\Programs\\Quarrow\\", false},     // a sibling
      {u"C:\\Programs\\Quarrow.exe", u"C:\\Programs\\Quarrow\\", false},
      {u"C:\\Programs\\Quarrow\\", u"C:\\Programs\\Quarrow\\", false},  // no file
      {u"C:\\Programs\\Quarrow\\Quarrow.exe", u"", false},
      {u"C:\\网页 搜索\\Quarrow.exe", u"c:\\网页 搜索\\", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsDirectlyIn(c.program, c.folder), c.in)
        << Utf16ToUtf8(c.program) << " in " << Utf16ToUtf8(c.folder);
  }
}
