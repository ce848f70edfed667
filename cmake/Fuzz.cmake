# Fuzz build (clang, libFuzzer, AddressSanitizer and UBSan): one program per
# tests/fuzz/*Fuzz.cpp, named after it, and SeedCorpus, which writes their
# seed corpora. Configure with CC=clang CXX=clang++ -DPICTARINE_FUZZ=ON.
find_package(JPEG REQUIRED)
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
add_link_options(-fsanitize=address,undefined)

add_library(pictarine_core STATIC ${PICTARINE_CORE_SOURCES})
target_include_directories(pictarine_core PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(pictarine_core PUBLIC JPEG::JPEG)

file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/fuzz/*Fuzz.cpp)
foreach(src ${FUZZ_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE pictarine_core)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endforeach()

add_executable(SeedCorpus ${PROJECT_SOURCE_DIR}/tests/fuzz/SeedCorpus.cpp ${PROJECT_SOURCE_DIR}/tests/support/HostileJpeg.cpp ${PROJECT_SOURCE_DIR}/tests/support/JpegEncoder.cpp)
target_link_libraries(SeedCorpus PRIVATE pictarine_core)
