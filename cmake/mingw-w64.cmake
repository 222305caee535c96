# Cross-builds the Windows program (64-bit) with Debian's mingw-w64 compilers:
#   cmake -S . -B build-win -G Ninja \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DTARNELTHC_TESTS=OFF \
#     -DEXPAT_INCLUDE_DIR=<expat>/include -DEXPAT_LIBRARY=<expat>/lib/libexpat.a
# scripts/windows-test.sh builds expat for Windows and passes those two paths.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TARNELTHC_MINGW_TRIPLE x86_64-w64-mingw32)
# The posix-threads variant carries the whole C++20 library; the plain name
# is whichever variant the system chose as default.
foreach(variant IN ITEMS -posix "")
  if(NOT CMAKE_CXX_COMPILER AND EXISTS /usr/bin/${TARNELTHC_MINGW_TRIPLE}-g++${variant})
    set(CMAKE_C_COMPILER /usr/bin/${TARNELTHC_MINGW_TRIPLE}-gcc${variant})
    set(CMAKE_CXX_COMPILER /usr/bin/${TARNELTHC_MINGW_TRIPLE}-g++${variant})
  endif()
endforeach()
if(NOT CMAKE_CXX_COMPILER)
  set(CMAKE_C_COMPILER ${TARNELTHC_MINGW_TRIPLE}-gcc)
  set(CMAKE_CXX_COMPILER ${TARNELTHC_MINGW_TRIPLE}-g++)
endif()
set(CMAKE_RC_COMPILER ${TARNELTHC_MINGW_TRIPLE}-windres)

# Libraries and headers come from the cross environment only, never from the
# build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${TARNELTHC_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The program ships as one .exe that needs no DLL besides the system's own:
# the C and C++ runtimes and expat are linked in. expat is then a static
# library, so its header must not declare its functions as DLL imports.
# The main thread gets the 8 MiB stack of a Linux process instead of the
# 1 MiB that Windows reserves by default, so no input that the POSIX build
# handles can overflow it here.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--stack,8388608")
set(CMAKE_C_FLAGS_INIT "-DXML_STATIC")
set(CMAKE_CXX_FLAGS_INIT "-DXML_STATIC")
