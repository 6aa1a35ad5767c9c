#include <windows.h>

#include "bar/win/SearchBarApp.h"

// Constructed before the entry code runs, destroyed after it returns.
SearchBarApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return theApp.Run(); }
