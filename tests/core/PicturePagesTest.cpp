#include <gtest/gtest.h>

#include "dialogs/PicturePages.h"

// Page 3 slot 4 is picture 15 (bitmap 274), page 6 slot 0 picture 26 (285).
TEST(PicturePages, NumberAndBitmapOfEverySlot) {
  int expected = 1;
  for (int page = 1; page <= kPageCount; ++page)
    for (int slot = 0; slot < kSlotsPerPage; ++slot, ++expected) {
      EXPECT_EQ(PictureNumberAt(page, slot), expected) << page << " " << slot;
      EXPECT_EQ(BitmapIdAt(page, slot), 259 + expected) << page << " " << slot;
    }
}

TEST(PicturePages, TurnsWrapRoundBothWays) {
  PicturePages pages;
  EXPECT_EQ(pages.Page(), 1);
  const int forward[] = {2, 3, 4, 5, 6, 1, 2};
  for (int page : forward) EXPECT_EQ(pages.Next().page, page);
  EXPECT_EQ(pages.Page(), 2);
  const int backward[] = {1, 6, 5, 4, 3, 2, 1, 6};
  for (int page : backward) {
    EXPECT_EQ(pages.Previous().page, page);
    EXPECT_EQ(pages.Page(), page);
  }
}

TEST(PicturePages, ViewAfterATurn) {
  PicturePages pages;
  PageView last = pages.Previous();  // page 1 -> 6
  EXPECT_EQ(last.bitmapIds, (std::array<int, 5>{285, 286, 287, 288, 289}));
  EXPECT_EQ(last.radioCaptions, (std::array<std::string, 5>{"26", "27", "28", "29", "30"}));
  EXPECT_EQ(last.caption, "选择背景图片(第6页)");
  EXPECT_EQ(last.pageLabel, "第6页");

  // Back on page 1 the caption carries an Arabic 1, not the template's "第一页".
  PageView first = pages.Next();
  EXPECT_EQ(first.page, 1);
  EXPECT_EQ(first.bitmapIds, (std::array<int, 5>{260, 261, 262, 263, 264}));
  EXPECT_EQ(first.radioCaptions, (std::array<std::string, 5>{"1", "2", "3", "4", "5"}));
  EXPECT_EQ(first.caption, "选择背景图片(第1页)");
  EXPECT_EQ(first.pageLabel, "第1页");
  // GBK bytes, as the dialog shows them: "第" is B5 DA and "页" is D2 B3.
  EXPECT_EQ(first.pageLabel, "第1页");
}

TEST(PicturePages, OkStoresTheSelectedSlotOfThePageOnView) {
  PicturePages pages;
  EXPECT_EQ(pages.ValueToStore(std::nullopt), std::nullopt);
  EXPECT_EQ(pages.ValueToStore(2), "3");
  pages.Next();
  EXPECT_EQ(pages.ValueToStore(2), "8");  // slot "3" on page 1, then page 2
  struct Case { int turns; int slot; const char* value; } cases[] = {
      {0, 0, "1"}, {2, 4, "15"}, {4, 4, "25"}, {5, 0, "26"}, {5, 4, "30"}, {6, 0, "1"},
  };
  for (const auto& c : cases) {
    PicturePages fresh;
    for (int i = 0; i < c.turns; ++i) fresh.Next();
    EXPECT_EQ(fresh.ValueToStore(c.slot), c.value) << c.turns << " " << c.slot;
  }
  EXPECT_EQ(pages.ValueToStore(5), std::nullopt);
  EXPECT_EQ(pages.ValueToStore(-1), std::nullopt);
}
