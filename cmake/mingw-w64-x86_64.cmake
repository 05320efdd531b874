# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (posix threads variant, which has
# std::mutex). Programs are linked statically so that Wine runs them as they are, and ctest runs
# them through Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
# Host headers and libraries must not reach the Windows build: /usr/include would shadow the
# MinGW C library. The header-only packages come in through cmake/HostHeaderOnly.cmake.
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")  # no symbols in what ships

# The window needs a static Qt built for MinGW-w64 (tools/build-qt-windows.sh prints its
# prefix); its tools (moc, rcc, uic) are the host's, from Debian's qt6-base-dev-tools.
# Without one, only the core and luma-cli are built.
set(LUMA_QT_WINDOWS "" CACHE PATH "Static Qt for MinGW-w64 from tools/build-qt-windows.sh")
if(LUMA_QT_WINDOWS)
  list(APPEND CMAKE_FIND_ROOT_PATH ${LUMA_QT_WINDOWS})
  set(QT_HOST_PATH /usr CACHE PATH "")
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")
  set(LUMA_BUILD_GUI ON CACHE BOOL "" FORCE)
else()
  set(LUMA_BUILD_GUI OFF CACHE BOOL "" FORCE)
endif()

find_program(LUMA_WINE wine)
if(LUMA_WINE)
  # Wine, with one more start where Wine ends before the program starts (see the script).
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
endif()
