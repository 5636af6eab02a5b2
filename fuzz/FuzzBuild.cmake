# Included by the top-level CMakeLists.txt when TARNELL_FUZZ is on: every library is built
# with coverage for libFuzzer and with AddressSanitizer and UndefinedBehaviorSanitizer, so
# that a fault anywhere in the units under test stops the run; then the fuzz targets.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "The fuzz targets need clang (CC=clang CXX=clang++); see fuzz/README.md")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                    -fno-omit-frame-pointer -g)
add_link_options(-fsanitize=address,undefined)
add_subdirectory(${CMAKE_CURRENT_LIST_DIR} ${CMAKE_BINARY_DIR}/fuzz)
