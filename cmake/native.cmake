# Native Linux build: the core's tests, benchmarks and fuzz target.
enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB CORE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/core/*.cpp ${CMAKE_SOURCE_DIR}/tests/common/*.cpp)
add_executable(core_tests ${CORE_TEST_SOURCES})
target_link_libraries(core_tests PRIVATE quarrow_core GTest::gtest_main)
target_include_directories(core_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
target_compile_definitions(core_tests PRIVATE QUARROW_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
gtest_discover_tests(core_tests DISCOVERY_TIMEOUT 60)

find_package(benchmark QUIET)
file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
if(benchmark_FOUND AND BENCH_SOURCES)
  add_executable(core_bench ${BENCH_SOURCES})
  target_link_libraries(core_bench PRIVATE quarrow_core benchmark::benchmark)
  target_include_directories(core_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests/core)  # IconvGbk.h
endif()

# The fuzz target needs clang's libFuzzer: cmake -DQUARROW_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
option(QUARROW_FUZZ "Build the libFuzzer targets (clang only)" OFF)
if(QUARROW_FUZZ)
  file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*.cpp)
  foreach(src ${FUZZ_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE quarrow_core)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/core)  # IconvGbk.h
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  endforeach()
  target_compile_options(quarrow_core PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
endif()
