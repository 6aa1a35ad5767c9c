// Loaded into the bar's process by the tests to read a menu there: Wine keeps
// a menu in the memory of the process that made it, so GetMenuStringW from
// another process finds nothing (seen with Wine 8: GetMenuItemCount of the
// bar's open menu answered -1 in the test program).
#include <windows.h>

#include "MenuTexts.h"

extern "C" __declspec(dllexport) DWORD WINAPI ReadMenuTexts(void* parameter) {
  auto* block = static_cast<MenuTextsBlock*>(parameter);
  HMENU menu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(block->menu));
  const int count = GetMenuItemCount(menu);
  block->count = count;
  size_t used = 0;
  const size_t capacity = sizeof block->texts / sizeof block->texts[0];
  for (int i = 0; i < count; ++i) {
    wchar_t text[1024] = {};
    int length = GetMenuStringW(menu, static_cast<UINT>(i), text, 1024, MF_BYPOSITION);
    if (length < 0) length = 0;
    if (used + static_cast<size_t>(length) + 2 > capacity) break;
    for (int k = 0; k < length; ++k) block->texts[used++] = text[k];
    block->texts[used++] = L'\n';
  }
  block->texts[used] = L'\0';
  return count >= 0 ? 0 : 1;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
