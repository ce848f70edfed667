# Native build: the portable core with its unit tests (sanitized by default)
# and the benchmark programs (build with -DPICTARINE_SANITIZE=OFF to time them).
option(PICTARINE_SANITIZE "Build with AddressSanitizer and UBSan" ON)
option(PICTARINE_FUZZ "Build the fuzz targets instead (clang)" OFF)
if(PICTARINE_FUZZ)
  include(cmake/Fuzz.cmake)
  return()
endif()
find_package(JPEG REQUIRED)
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

if(PICTARINE_SANITIZE)
  # -O1: what the sanitizers are made for, and it builds half again as fast
  # as -O2 with them.
  add_compile_options(-O1 -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

add_library(pictarine_core STATIC ${PICTARINE_CORE_SOURCES})
target_include_directories(pictarine_core PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(pictarine_core PUBLIC JPEG::JPEG)

# The JPEG files the tests and the benchmarks make, compiled once for both.
add_library(picture_makers STATIC ${PROJECT_SOURCE_DIR}/tests/support/HostileJpeg.cpp
  ${PROJECT_SOURCE_DIR}/tests/support/JpegEncoder.cpp)
target_include_directories(picture_makers PUBLIC ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(picture_makers PUBLIC pictarine_core)

file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE picture_makers GTest::gtest_main Threads::Threads)
add_test(NAME unit_tests COMMAND unit_tests --gtest_brief=1)

file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*.cpp)
foreach(src ${BENCH_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE picture_makers)
endforeach()
