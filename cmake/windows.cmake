# Windows build (MinGW-w64 cross-build here, or MSVC with -A Win32 / -A x64 on
# Windows): the window layer, Quarrow.exe with its resources, and the Wine-run
# tests. The 32-bit and the 64-bit program come from the same sources.
enable_language(RC)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(QUARROW_MANIFEST_ARCH amd64)
  set(QUARROW_ZIP_SUFFIX -x64)
else()
  set(QUARROW_MANIFEST_ARCH x86)
  set(QUARROW_ZIP_SUFFIX "")
endif()
# The one version number (project() in CMakeLists.txt), in every form the
# program, its resources and the installer need.
set(QUARROW_VERSION_MINOR ${PROJECT_VERSION_MINOR})
set(QUARROW_VERSION_PATCH ${PROJECT_VERSION_PATCH})
if("${QUARROW_VERSION_MINOR}" STREQUAL "")
  set(QUARROW_VERSION_MINOR 0)
endif()
if("${QUARROW_VERSION_PATCH}" STREQUAL "")
  set(QUARROW_VERSION_PATCH 0)
endif()
set(QUARROW_VERSION_QUAD ${PROJECT_VERSION_MAJOR}.${QUARROW_VERSION_MINOR}.${QUARROW_VERSION_PATCH}.0)
set(QUARROW_VERSION_MSI ${PROJECT_VERSION_MAJOR}.${QUARROW_VERSION_MINOR}.${QUARROW_VERSION_PATCH})
configure_file(${CMAKE_SOURCE_DIR}/resources/Version.h.in ${CMAKE_BINARY_DIR}/generated/Version.h @ONLY)
# The manifest names the build's processor; the resource script finds it here.
configure_file(${CMAKE_SOURCE_DIR}/resources/Quarrow.manifest.in ${CMAKE_BINARY_DIR}/manifest/Quarrow.manifest @ONLY)
set(QUARROW_BIN ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${QUARROW_BIN})
# The wide interfaces throughout: an ANSI call left by accident does not compile.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
if(NOT MSVC)
  # One file that runs as it is: the C and C++ runtimes linked in.
  add_link_options(-static -static-libgcc -static-libstdc++)
  # Sections at page boundaries in the file too: Wine then maps the file and
  # reads a page when it is first touched; with the usual 512-byte alignment
  # it reads the whole file, thirty pictures and all, into memory at start
  # (0.8 MB more working set, measured). Costs about 34 KB of file.
  add_link_options(-Wl,--file-alignment=4096)
  add_link_options(-Wl,--gc-sections)  # what nothing calls is left out
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
add_executable(Quarrow WIN32 ${CMAKE_SOURCE_DIR}/src/bar/win/Main.cpp ${RC_FILE})
target_link_libraries(Quarrow PRIVATE quarrow_win)
target_include_directories(Quarrow PRIVATE ${CMAKE_SOURCE_DIR}/resources ${ART_DIR}
                           ${CMAKE_BINARY_DIR}/manifest ${CMAKE_BINARY_DIR}/generated)
add_dependencies(Quarrow art)
file(GLOB RC_DEPENDS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*)
set_source_files_properties(${RC_FILE} PROPERTIES OBJECT_DEPENDS
                            "${ART_STAMP};${RC_DEPENDS};${CMAKE_BINARY_DIR}/generated/Version.h")
if(NOT MSVC)
  target_link_options(Quarrow PRIVATE -s  # no symbols in the shipped file
                      -Wl,-Map=${CMAKE_BINARY_DIR}/Quarrow.map)  # what each library brought
endif()

# The release zip: the program and a short read-me for its user (its title
# carries the version).
set(README ${CMAKE_BINARY_DIR}/generated/ReadMe.txt)
configure_file(${CMAKE_SOURCE_DIR}/resources/ReadMe.txt ${README} @ONLY NEWLINE_STYLE CRLF)
set(ZIP ${CMAKE_BINARY_DIR}/Quarrow-${PROJECT_VERSION}${QUARROW_ZIP_SUFFIX}.zip)
add_custom_command(OUTPUT ${ZIP}
  COMMAND ${CMAKE_COMMAND} -E copy ${README} ${QUARROW_BIN}/ReadMe.txt
  COMMAND ${CMAKE_COMMAND} -E chdir ${QUARROW_BIN}
          ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip Quarrow.exe ReadMe.txt
  DEPENDS Quarrow ${README} COMMENT "Packing ${ZIP}")
add_custom_target(release_zip ALL DEPENDS ${ZIP})

# The installer: a per-user Windows Installer package, built by wixl from
# installer/Quarrow.wxs (tools/make-msi.sh; docs/installer.md). It stores the
# close helper, which it runs before it changes anything.
add_executable(QuarrowClose WIN32 ${CMAKE_SOURCE_DIR}/installer/QuarrowClose.cpp)
target_link_libraries(QuarrowClose PRIVATE quarrow_win)
if(NOT MSVC)
  target_link_options(QuarrowClose PRIVATE -s)
endif()
find_program(WIXL wixl)
find_program(MSIBUILD msibuild)
if(WIXL AND MSIBUILD)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(MSI_ARCH x64)
  else()
    set(MSI_ARCH x86)
  endif()
  set(MSI ${CMAKE_BINARY_DIR}/Quarrow-${PROJECT_VERSION}${QUARROW_ZIP_SUFFIX}.msi)
  set(MSI_FILES ${CMAKE_BINARY_DIR}/installer-files)
  add_custom_command(OUTPUT ${MSI}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${MSI_FILES}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Quarrow> $<TARGET_FILE:QuarrowClose> ${README}
            ${ART_DIR}/app.ico ${MSI_FILES}
    COMMAND ${CMAKE_SOURCE_DIR}/tools/make-msi.sh ${MSI_ARCH} ${QUARROW_VERSION_MSI} ${MSI_FILES} ${MSI}
    DEPENDS Quarrow QuarrowClose ${README}
            ${CMAKE_SOURCE_DIR}/installer/Quarrow.wxs ${CMAKE_SOURCE_DIR}/installer/database-changes.sql
            ${CMAKE_SOURCE_DIR}/tools/make-msi.sh
    COMMENT "Building the installer ${MSI}")
  add_custom_target(installer ALL DEPENDS ${MSI})
else()
  message(WARNING "wixl or msibuild is missing: no installer is built (tools/setup.sh installs wixl and msitools)")
endif()

# ---- Tests that run under Wine (only in the cross-build here).
if(CMAKE_CROSSCOMPILING)
  enable_testing()
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
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
  # The recorder stands in for a browser, a windows program: as a console
  # program each launch opened a console window over the bar.
  set_target_properties(recorder PROPERTIES WIN32_EXECUTABLE ON)
  # Read the bar's menus inside its process (tests/wine/tools/menutexts).
  # (The .def file exports ReadMenuTexts undecorated in the 32-bit build too.)
  add_library(menutexts SHARED ${CMAKE_SOURCE_DIR}/tests/wine/tools/menutexts/menutexts.cpp
              ${CMAKE_SOURCE_DIR}/tests/wine/tools/menutexts/menutexts.def)
  set_target_properties(menutexts PROPERTIES PREFIX "")
  if(NOT MSVC)
    target_link_options(menutexts PRIVATE -Wl,--enable-stdcall-fixup)  # the .def's name for ReadMenuTexts@4
  endif()
  target_link_libraries(menutexts PRIVATE user32)

  file(GLOB WINE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/*.cpp ${CMAKE_SOURCE_DIR}/tests/common/*.cpp)
  add_executable(wine_tests ${WINE_TEST_SOURCES})
  target_link_libraries(wine_tests PRIVATE quarrow_win gtest gtest_main ws2_32 winhttp)
  target_include_directories(wine_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/wine ${CMAKE_SOURCE_DIR}/tests/common ${CMAKE_SOURCE_DIR}/resources)
  # Wine sees the Linux file system as drive Z:.
  target_compile_definitions(wine_tests PRIVATE QUARROW_TEST_DATA="Z:${CMAKE_SOURCE_DIR}/tests/data")
  add_dependencies(wine_tests Quarrow menutexts)
  foreach(src ${TEST_TOOL_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_dependencies(wine_tests ${name})
  endforeach()
  # Suites that need another display or another code page run on their own:
  # two monitors side by side, 144 dots per inch, and the code pages of a
  # Western (1252) and a Japanese (932) system (tools/wine-env.sh makes each;
  # QUARROW_EXPECTED_ACP tells the code-page suite what to check it has).
  if(NOT MSVC)
    add_test(NAME program_leaves_out_unused_library_code
             COMMAND ${CMAKE_COMMAND} -DMAP=${CMAKE_BINARY_DIR}/Quarrow.map -P ${CMAKE_SOURCE_DIR}/cmake/LeftOutCode.cmake)
  endif()
  add_test(NAME wine_tests COMMAND wine_tests --gtest_color=no --gtest_filter=-TwoMonitors*:HighDpi*:CodePage*)
  add_test(NAME wine_tests_two_monitors COMMAND wine_tests --gtest_color=no --gtest_filter=TwoMonitors*)
  add_test(NAME wine_tests_high_dpi COMMAND wine_tests --gtest_color=no --gtest_filter=HighDpi*)
  add_test(NAME wine_tests_code_page_1252 COMMAND wine_tests --gtest_color=no --gtest_filter=CodePage*)
  add_test(NAME wine_tests_code_page_932 COMMAND wine_tests --gtest_color=no --gtest_filter=CodePage*)
  set_tests_properties(wine_tests wine_tests_two_monitors wine_tests_high_dpi wine_tests_code_page_1252
                       wine_tests_code_page_932 PROPERTIES TIMEOUT 1800)
  set_tests_properties(wine_tests_two_monitors PROPERTIES ENVIRONMENT QUARROW_MONITORS=2)
  set_tests_properties(wine_tests_high_dpi PROPERTIES ENVIRONMENT QUARROW_DPI=144)
  set_tests_properties(wine_tests_code_page_1252 PROPERTIES
                       ENVIRONMENT "QUARROW_LOCALE=en_US.UTF-8;QUARROW_EXPECTED_ACP=1252")
  set_tests_properties(wine_tests_code_page_932 PROPERTIES
                       ENVIRONMENT "QUARROW_LOCALE=ja_JP.UTF-8;QUARROW_EXPECTED_ACP=932")
endif()

# ---- Performance measurements (perf/, run by tools/perf.sh; not built by default).
if(CMAKE_CROSSCOMPILING)
  add_subdirectory(perf)
endif()
