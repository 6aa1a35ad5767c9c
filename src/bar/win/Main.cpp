#include <windows.h>

#include "bar/win/SearchBarApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return SearchBarApp().Run(); }
