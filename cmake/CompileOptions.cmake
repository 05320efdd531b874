# One INTERFACE target carries the language standard, warnings and sanitizers for every target.
add_library(luma_options INTERFACE)
target_compile_features(luma_options INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)

if(MSVC)
  target_compile_options(luma_options INTERFACE /W4 $<$<BOOL:${LUMA_WERROR}>:/WX>)
else()
  target_compile_options(luma_options INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wnon-virtual-dtor
    -Wold-style-cast -Woverloaded-virtual -Wimplicit-fallthrough
    $<$<BOOL:${LUMA_WERROR}>:-Werror>)
endif()

# GCC 12 reports -Wrestrict for `"literal" + std::string` at -O2 and above (GCC bug 105651).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(luma_options INTERFACE -Wno-restrict)
endif()

if(LUMA_SANITIZE)
  target_compile_options(luma_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(luma_options INTERFACE -fsanitize=address,undefined)
  # Executables pick this object up; static libraries carry it unused.
  target_sources(luma_options INTERFACE ${CMAKE_CURRENT_LIST_DIR}/lsan_suppressions.cpp)
endif()

# Qt-facing code: no implicit conversions from 8-bit strings, fast string concatenation.
add_library(luma_qt_options INTERFACE)
target_link_libraries(luma_qt_options INTERFACE luma_options)
target_compile_definitions(luma_qt_options INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_USE_QSTRINGBUILDER QT_NO_KEYWORDS)

# Fuzzing with libFuzzer (clang): every target gets coverage instrumentation, the fuzz
# targets link the fuzzer's main.
option(LUMA_LIBFUZZER "Build fuzz targets with libFuzzer (clang only)" OFF)
if(LUMA_LIBFUZZER)
  target_compile_options(luma_options INTERFACE -fsanitize=fuzzer-no-link)
endif()
