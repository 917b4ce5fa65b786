# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(STELVANE_TARGET x86_64-w64-mingw32)
# The POSIX thread model gives the standard library its std::mutex, which
# GoogleTest needs; the program links winpthreads statically like the rest.
set(CMAKE_C_COMPILER ${STELVANE_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${STELVANE_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${STELVANE_TARGET}-windres)

# Headers and libraries (zlib included) come from the target tree only;
# build tools come from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${STELVANE_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
