# Windows build (mingw-w64, i686 or x86-64 after the toolchain file):
# Pictarine.scr, Vistaloop.exe, sample.bmp, the installer, the test programs
# and the test password provider. Every program lands in ${PICTARINE_BIN_DIR}.
set(PICTARINE_BIN_DIR ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${PICTARINE_BIN_DIR})
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${PICTARINE_BIN_DIR})

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(PICTARINE_WIN_BITS 64)
else()
  set(PICTARINE_WIN_BITS 32)
endif()
set(PICTARINE_LIBJPEG_DIR ${PROJECT_SOURCE_DIR}/build/deps/libjpeg-mingw${PICTARINE_WIN_BITS}
    CACHE PATH "libjpeg-turbo built for this Windows architecture")
set(MINGW_JPEG_LIBRARY ${PICTARINE_LIBJPEG_DIR}/lib/libjpeg.a)
if(NOT EXISTS ${MINGW_JPEG_LIBRARY})
  message(FATAL_ERROR "libjpeg for Windows is missing: run scripts/setup")
endif()
add_library(mingw_jpeg STATIC IMPORTED)
set_target_properties(mingw_jpeg PROPERTIES IMPORTED_LOCATION ${MINGW_JPEG_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES ${PICTARINE_LIBJPEG_DIR}/include)
# SQLite, the picture library's index, built the same way (scripts/build-sqlite).
set(PICTARINE_SQLITE_DIR ${PROJECT_SOURCE_DIR}/build/deps/sqlite-mingw${PICTARINE_WIN_BITS}
    CACHE PATH "SQLite built for this Windows architecture")
if(NOT EXISTS ${PICTARINE_SQLITE_DIR}/lib/libsqlite3.a)
  message(FATAL_ERROR "SQLite for Windows is missing: run scripts/setup")
endif()
add_library(mingw_sqlite STATIC IMPORTED)
set_target_properties(mingw_sqlite PROPERTIES IMPORTED_LOCATION ${PICTARINE_SQLITE_DIR}/lib/libsqlite3.a
  INTERFACE_INCLUDE_DIRECTORIES ${PICTARINE_SQLITE_DIR}/include)

add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501)
add_compile_options(-msse2 -mfpmath=sse)
add_link_options(-static -static-libgcc -static-libstdc++)
# Debug information only for the code that ships (pictarine_debug_info
# below): the tests and benchmarks build a third faster without it.
string(REPLACE "-g" "" CMAKE_CXX_FLAGS_RELWITHDEBINFO "${CMAKE_CXX_FLAGS_RELWITHDEBINFO}")
string(REPLACE "-g" "" CMAKE_C_FLAGS_RELWITHDEBINFO "${CMAKE_C_FLAGS_RELWITHDEBINFO}")
function(pictarine_debug_info)
  foreach(target ${ARGN})
    target_compile_options(${target} PRIVATE $<$<CONFIG:RelWithDebInfo>:-g>)
  endforeach()
endfunction()

add_library(pictarine_core STATIC ${PICTARINE_CORE_SOURCES})
target_include_directories(pictarine_core PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(pictarine_core PUBLIC mingw_jpeg)

# One library a folder; each links only the layers below it, so a program
# carries no code of a folder it does not use.
#   core/ (portable) <- platform/ <- settings/, library/ <- picture/ <- forms/, app/ (Pictarine.scr)
#                                                                   <- viewer/ (Vistaloop.exe)
function(pictarine_folder_library name)
  file(GLOB sources CONFIGURE_DEPENDS ${ARGN})
  list(REMOVE_ITEM sources ${PROJECT_SOURCE_DIR}/app/Main.cpp ${PROJECT_SOURCE_DIR}/viewer/Main.cpp)
  add_library(${name} STATIC ${sources})
endfunction()
pictarine_folder_library(pictarine_platform ${PROJECT_SOURCE_DIR}/platform/*.cpp)
target_link_libraries(pictarine_platform PUBLIC pictarine_core user32 gdi32 advapi32 comctl32 comdlg32 shell32 ole32
  uuid)
pictarine_folder_library(pictarine_settings ${PROJECT_SOURCE_DIR}/settings/*.cpp)
target_link_libraries(pictarine_settings PUBLIC pictarine_platform)
pictarine_folder_library(pictarine_library ${PROJECT_SOURCE_DIR}/library/*.cpp)
target_link_libraries(pictarine_library PUBLIC pictarine_platform mingw_sqlite)
pictarine_folder_library(pictarine_picture ${PROJECT_SOURCE_DIR}/picture/*.cpp)
target_link_libraries(pictarine_picture PUBLIC pictarine_settings pictarine_library)

# Everything of the screen saver but its entry point, so tests can link it.
pictarine_folder_library(pictarine_win ${PROJECT_SOURCE_DIR}/app/*.cpp ${PROJECT_SOURCE_DIR}/forms/*.cpp)
target_link_libraries(pictarine_win PUBLIC pictarine_picture)
pictarine_debug_info(pictarine_core pictarine_platform pictarine_settings pictarine_library pictarine_picture pictarine_win)

# A shipped program carries no debug information: it is kept beside the
# program in <program>.debug, which the program names in its debug link, so
# that a debugger, or addr2line on the .debug file, still reads a crash
# address.
string(REGEX REPLACE "g\\+\\+(-posix)?$" "objcopy" PICTARINE_OBJCOPY "${CMAKE_CXX_COMPILER}")
function(pictarine_split_debug target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${PICTARINE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> $<TARGET_FILE:${target}>.debug
    COMMAND ${PICTARINE_OBJCOPY} --strip-all --add-gnu-debuglink=$<TARGET_FILE:${target}>.debug
            $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()

add_executable(Pictarine WIN32 app/Main.cpp resources/Pictarine.rc)
pictarine_debug_info(Pictarine)
set_target_properties(Pictarine PROPERTIES SUFFIX ".scr")
target_link_libraries(Pictarine PRIVATE pictarine_win)
pictarine_split_debug(Pictarine)

# The companion viewer: its windows in a library that the tests link too.
pictarine_folder_library(vistaloop_win ${PROJECT_SOURCE_DIR}/viewer/*.cpp)
target_link_libraries(vistaloop_win PUBLIC pictarine_picture)
pictarine_debug_info(vistaloop_win)
add_executable(Vistaloop WIN32 viewer/Main.cpp resources/Vistaloop.rc)
pictarine_debug_info(Vistaloop)
target_link_libraries(Vistaloop PRIVATE vistaloop_win)
pictarine_split_debug(Vistaloop)

# The sample picture beside the programs, drawn by a host program at build time.
find_program(HOST_CXX NAMES c++ g++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
set(DRAW_SAMPLE ${CMAKE_BINARY_DIR}/host/DrawSample)
add_custom_command(OUTPUT ${DRAW_SAMPLE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
  COMMAND ${HOST_CXX} -std=c++20 -O2 -I${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/resources/DrawSample.cpp
          ${PROJECT_SOURCE_DIR}/core/BmpCodec.cpp -o ${DRAW_SAMPLE}
  DEPENDS resources/DrawSample.cpp core/BmpCodec.cpp core/BmpCodec.h core/Pixels.h)
add_custom_command(OUTPUT ${PICTARINE_BIN_DIR}/sample.bmp
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PICTARINE_BIN_DIR}
  COMMAND ${DRAW_SAMPLE} ${PICTARINE_BIN_DIR}/sample.bmp DEPENDS ${DRAW_SAMPLE})
add_custom_target(sample_picture ALL DEPENDS ${PICTARINE_BIN_DIR}/sample.bmp)

# The installer of this architecture: PictarineSetup-32bit.exe or -64bit.exe.
find_program(MAKENSIS makensis REQUIRED)
set(PICTARINE_SETUP ${PICTARINE_BIN_DIR}/PictarineSetup-${PICTARINE_WIN_BITS}bit.exe)
add_custom_command(OUTPUT ${PICTARINE_SETUP}
  COMMAND ${MAKENSIS} -V2 -DBITS=${PICTARINE_WIN_BITS} -DVERSION=${PROJECT_VERSION} -DBIN_DIR=${PICTARINE_BIN_DIR}
          -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DOUT_FILE=${PICTARINE_SETUP} ${PROJECT_SOURCE_DIR}/installer/Pictarine.nsi
  DEPENDS installer/Pictarine.nsi resources/Pictarine.ico Pictarine Vistaloop ${PICTARINE_BIN_DIR}/sample.bmp)
add_custom_target(installer ALL DEPENDS ${PICTARINE_SETUP})

# Tests: GoogleTest compiled from Debian's sources with this toolchain.
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The pictures the tests and the benchmarks make (JPEG files of every
# kind, hostile ones, the WIC kinds), compiled once for both.
add_library(picture_makers STATIC tests/support/WicPictures.cpp tests/support/HostileJpeg.cpp
  tests/support/JpegEncoder.cpp)
target_include_directories(picture_makers PUBLIC ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(picture_makers PUBLIC pictarine_win)

file(GLOB WIN_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win/*Test.cpp)
add_library(test_support STATIC tests/support/TestEnvironment.cpp tests/support/SettingsFixture.cpp
  tests/support/TestPictures.cpp tests/support/WindowLayout.cpp)
target_link_libraries(test_support PUBLIC picture_makers gtest)

# The headers that every test includes, parsed once per test program.
set(PICTARINE_TEST_HEADERS <windows.h> <gtest/gtest.h> <functional> <map> <memory> <optional> <string> <vector>)

add_executable(win_tests ${WIN_TEST_SOURCES})
target_link_libraries(win_tests PRIVATE test_support vistaloop_win gtest_main psapi shlwapi)
target_precompile_headers(win_tests PRIVATE ${PICTARINE_TEST_HEADERS})

# What drives Pictarine.scr from outside, for the end-to-end and the
# two-monitor tests.
add_library(e2e_harness STATIC tests/e2e/Harness.cpp)
target_link_libraries(e2e_harness PUBLIC test_support)

file(GLOB E2E_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/*Test.cpp)
add_executable(e2e_tests ${E2E_TEST_SOURCES} tests/e2e/Main.cpp)
target_link_libraries(e2e_tests PRIVATE e2e_harness gtest)
target_precompile_headers(e2e_tests REUSE_FROM win_tests)
add_dependencies(e2e_tests Pictarine Vistaloop installer)

# A stand-in viewer that records its command line, in a folder of its own.
add_executable(stand_in_viewer WIN32 tests/support/StandInViewer.cpp)
set_target_properties(stand_in_viewer PROPERTIES OUTPUT_NAME "Vistaloop"
  RUNTIME_OUTPUT_DIRECTORY ${PICTARINE_BIN_DIR}/stand-in)
target_link_libraries(stand_in_viewer PRIVATE pictarine_platform)
add_dependencies(e2e_tests stand_in_viewer)

# The saver on a display of two monitors: run by the test command on a
# display made so, not on a Wine virtual desktop.
file(GLOB MONITOR_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/monitors/*.cpp)
add_executable(monitor_tests ${MONITOR_TEST_SOURCES})
target_link_libraries(monitor_tests PRIVATE e2e_harness gtest)
add_dependencies(monitor_tests Pictarine)

# The screen saver with a picture source whose reads never return.
add_executable(blocking_saver WIN32 tests/support/BlockingSaver.cpp)
target_include_directories(blocking_saver PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(blocking_saver PRIVATE pictarine_win)
set_target_properties(blocking_saver PROPERTIES OUTPUT_NAME "BlockingSaver" SUFFIX ".scr")
add_dependencies(e2e_tests blocking_saver)

# A stand-in password provider whose answer the tests control.
add_library(password_cpl SHARED tests/support/PasswordCpl.cpp tests/support/PasswordCpl.def)
set_target_properties(password_cpl PROPERTIES PREFIX "" OUTPUT_NAME "password" SUFFIX ".cpl")
add_dependencies(win_tests password_cpl)
add_dependencies(e2e_tests password_cpl)

# Benchmark programs that need the Windows side; run them under Wine.
file(GLOB WIN_BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/win/*.cpp)
foreach(src ${WIN_BENCH_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE picture_makers)
endforeach()
