# Cross-build for 64-bit Windows (x64), from the same sources.
set(QUARROW_MINGW_PROCESSOR x86_64)
set(QUARROW_WINE_BUILD win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
