#include <windows.h>

#include <cstdlib>  // also says whether the C++ library is GCC's (__GLIBCXX__)

#include "bar/win/SearchBarApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return SearchBarApp().Run(); }

#if defined(__GLIBCXX__)
// An exception nobody catches ends the program at once. GCC's own handler
// would first print the exception's name to the console that a windows
// program does not have, and brings 40 KB of name demangler with it.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif
