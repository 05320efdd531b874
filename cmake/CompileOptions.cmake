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

if(LUMA_SANITIZE)
  target_compile_options(luma_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(luma_options INTERFACE -fsanitize=address,undefined)
endif()

# Qt-facing code: no implicit conversions from 8-bit strings, fast string concatenation.
add_library(luma_qt_options INTERFACE)
target_link_libraries(luma_qt_options INTERFACE luma_options)
target_compile_definitions(luma_qt_options INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_USE_QSTRINGBUILDER QT_NO_KEYWORDS)
