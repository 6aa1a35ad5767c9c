// What the tests and menutexts.dll share: the block in the bar's process that
// names a menu and receives its texts.
#pragma once

#include <cstdint>

struct MenuTextsBlock {
  std::uint64_t menu;         // the HMENU, whatever the pointer size
  std::int32_t count;         // items read; -1 when the handle names no menu
  wchar_t texts[16384];       // each item's text followed by '\n' (a separator: empty)
};
