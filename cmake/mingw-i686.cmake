# Cross-build for 32-bit Windows (what Windows users get first).
set(QUARROW_MINGW_PROCESSOR i686)
set(QUARROW_WINE_BUILD win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
