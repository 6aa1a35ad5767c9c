# Cross-build for Windows with MinGW-w64, shared by the two toolchain files,
# which set QUARROW_MINGW_PROCESSOR (i686 or x86_64) and QUARROW_WINE_BUILD
# (win32 or win64) first. The -posix compilers are used because the -win32
# variant of GCC 12 has no std::mutex, which GoogleTest needs.
set(mingw_triplet ${QUARROW_MINGW_PROCESSOR}-w64-mingw32)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QUARROW_MINGW_PROCESSOR})
set(CMAKE_C_COMPILER ${mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Test programs run under Wine; the wrapper brings the build's Wine, its
# prefix and a display.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh ${QUARROW_WINE_BUILD})
