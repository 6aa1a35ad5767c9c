# Windows build (MinGW-w64 cross-build here, or MSVC with -A Win32 on Windows):
# the window layer, Quarrow.exe with its resources, and the Wine-run tests.
enable_language(RC)
set(QUARROW_BIN ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${QUARROW_BIN})
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
if(NOT MSVC)
  # One file that runs as it is: the C and C++ runtimes linked in.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

# ---- Pictures and icons, drawn by our own generator at build time.
set(ART_DIR ${CMAKE_BINARY_DIR}/art)
set(ART_STAMP ${ART_DIR}/art.stamp)
file(GLOB ARTGEN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/artgen/*.cpp)
if(CMAKE_CROSSCOMPILING)
  find_program(HOST_CXX NAMES c++ g++ clang++ REQUIRED)
  set(ARTGEN ${CMAKE_BINARY_DIR}/artgen-host)
  add_custom_command(OUTPUT ${ARTGEN}
    COMMAND ${HOST_CXX} -std=c++20 -O2 ${ARTGEN_SOURCES} -o ${ARTGEN}
    DEPENDS ${ARTGEN_SOURCES} COMMENT "Building the picture generator for this machine")
else()
  add_executable(artgen ${ARTGEN_SOURCES})
  set(ARTGEN $<TARGET_FILE:artgen>)
endif()
add_custom_command(OUTPUT ${ART_STAMP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ART_DIR}
  COMMAND ${ARTGEN} ${ART_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${ART_STAMP}
  DEPENDS ${ARTGEN} COMMENT "Drawing icons and pictures")
add_custom_target(art DEPENDS ${ART_STAMP})

# ---- The window layer: src/*/win/*.cpp; WinMain lives in src/bar/win/Main.cpp.
file(GLOB WIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*/win/*.cpp)
list(FILTER WIN_SOURCES EXCLUDE REGEX "/src/bar/win/Main\\.cpp$")
# comctl32 is not among them: the engine dialog loads it when it opens
# (framework/win/CommonControls.h).
set(WIN_LIBS ole32 oleaut32 uuid shell32 gdi32 user32 advapi32 psapi)
add_library(quarrow_win STATIC ${WIN_SOURCES})
target_link_libraries(quarrow_win PUBLIC quarrow_core ${WIN_LIBS})
target_include_directories(quarrow_win PUBLIC ${CMAKE_SOURCE_DIR}/resources)

set(RC_FILE ${CMAKE_SOURCE_DIR}/resources/Quarrow.rc)
if(EXISTS ${CMAKE_SOURCE_DIR}/src/bar/win/Main.cpp AND EXISTS ${RC_FILE})
  add_executable(Quarrow WIN32 ${CMAKE_SOURCE_DIR}/src/bar/win/Main.cpp ${RC_FILE})
  target_link_libraries(Quarrow PRIVATE quarrow_win)
  target_include_directories(Quarrow PRIVATE ${CMAKE_SOURCE_DIR}/resources ${ART_DIR})
  add_dependencies(Quarrow art)
  file(GLOB RC_DEPENDS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*)
  set_source_files_properties(${RC_FILE} PROPERTIES OBJECT_DEPENDS "${ART_STAMP};${RC_DEPENDS}")
  if(NOT MSVC)
    target_link_options(Quarrow PRIVATE -s)  # no symbols in the shipped file
  endif()

  # The release zip: the program and a short read-me for its user.
endif()
if(TARGET Quarrow AND EXISTS ${CMAKE_SOURCE_DIR}/resources/ReadMe.txt)
  set(ZIP ${CMAKE_BINARY_DIR}/Quarrow-${PROJECT_VERSION}.zip)
  add_custom_command(OUTPUT ${ZIP}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/resources/ReadMe.txt ${QUARROW_BIN}/ReadMe.txt
    COMMAND ${CMAKE_COMMAND} -E chdir ${QUARROW_BIN}
            ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip Quarrow.exe ReadMe.txt
    DEPENDS Quarrow ${CMAKE_SOURCE_DIR}/resources/ReadMe.txt COMMENT "Packing ${ZIP}")
  add_custom_target(release_zip ALL DEPENDS ${ZIP})
endif()

# ---- Tests that run under Wine (only in the cross-build here).
if(CMAKE_CROSSCOMPILING)
  enable_testing()
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # GoogleTest's own texts are UTF-8 ("\u00b5s" has no GBK form).
  foreach(t gtest gtest_main)
    target_compile_options(${t} PRIVATE -fexec-charset=UTF-8)
  endforeach()
  if(NOT MSVC)
    # GoogleTest's own sources hold texts that GBK cannot encode (<chrono>'s "\u00b5s").
    target_compile_options(gtest PRIVATE -fexec-charset=UTF-8)
    target_compile_options(gtest_main PRIVATE -fexec-charset=UTF-8)
  endif()

  # Small programs the tests need (the URL recorder and the like).
  file(GLOB TEST_TOOL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/tools/*.cpp)
  foreach(src ${TEST_TOOL_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE ${WIN_LIBS})
  endforeach()

  file(GLOB WINE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/*.cpp)
  if(WINE_TEST_SOURCES)
    add_executable(wine_tests ${WINE_TEST_SOURCES})
    target_link_libraries(wine_tests PRIVATE quarrow_win gtest gtest_main)
    target_include_directories(wine_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/wine ${CMAKE_SOURCE_DIR}/resources)
    # Wine sees the Linux file system as drive Z:.
    target_compile_definitions(wine_tests PRIVATE QUARROW_TEST_DATA="Z:${CMAKE_SOURCE_DIR}/tests/data")
    if(TARGET Quarrow)
      add_dependencies(wine_tests Quarrow)
    endif()
    foreach(src ${TEST_TOOL_SOURCES})
      get_filename_component(name ${src} NAME_WE)
      add_dependencies(wine_tests ${name})
    endforeach()
    add_test(NAME wine_tests COMMAND wine_tests --gtest_color=no)
    set_tests_properties(wine_tests PROPERTIES TIMEOUT 1800)
  endif()
endif()

# ---- Performance measurements (perf/, run by tools/perf.sh; not built by default).
if(CMAKE_CROSSCOMPILING AND TARGET Quarrow AND EXISTS ${CMAKE_SOURCE_DIR}/perf/CMakeLists.txt)
  add_subdirectory(perf)
endif()
