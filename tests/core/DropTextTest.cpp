#include <gtest/gtest.h>

#include "search/DropText.h"

TEST(DroppedQuery, LastTabFieldWithoutSurroundingWhiteSpace) {
  struct Case { const char* dropped; const char* query; } cases[] = {
      {"1\tname\t  www.abc \r\n", "www.abc"},
      {"  plain text  ", "plain text"},
      {"inner\tblank field", "blank field"},
      {"last\t", ""},
      {"  \t \r\n", ""},
      {"", ""},
      {"\xB0\x41\t 中文 ", "中文"},
  };
  for (const auto& c : cases) EXPECT_EQ(DroppedQuery(c.dropped), c.query) << c.dropped;
}

TEST(DroppedQuery, HandlesAMegabyteOfFields) {
  std::string dropped;
  for (int i = 0; i < 512 * 1024; ++i) dropped += "x\t";
  dropped += std::string(1024 * 1024, ' ') + "end" + std::string(1024 * 1024, '\n');
  EXPECT_EQ(DroppedQuery(dropped), "end");
}
