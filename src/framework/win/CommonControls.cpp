#include "framework/win/CommonControls.h"

namespace common_controls {
namespace {

// Loaded once and kept for the life of the process, as an import would be.
HMODULE Library() {
  static const HMODULE library = LoadLibraryW(L"comctl32.dll");
  return library;
}

template <typename Function>
Function Find(const char* name) {
  HMODULE library = Library();
  return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

}  // namespace

bool RegisterClasses(DWORD classes) {
  auto init = Find<BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)>("InitCommonControlsEx");
  INITCOMMONCONTROLSEX controls{sizeof controls, classes};
  return init && init(&controls);
}

HIMAGELIST CreateImageList(int width, int height, UINT flags, int initial, int grow) {
  auto create = Find<HIMAGELIST(WINAPI*)(int, int, UINT, int, int)>("ImageList_Create");
  return create ? create(width, height, flags, initial, grow) : nullptr;
}

int AddIcon(HIMAGELIST list, HICON icon) {
  auto replace = Find<int(WINAPI*)(HIMAGELIST, int, HICON)>("ImageList_ReplaceIcon");
  return replace ? replace(list, -1, icon) : -1;
}

BOOL DestroyImageList(HIMAGELIST list) {
  auto destroy = Find<BOOL(WINAPI*)(HIMAGELIST)>("ImageList_Destroy");
  return destroy && destroy(list);
}

}  // namespace common_controls
