# Cross build of the Windows x64 executable with Debian's MinGW-w64 compilers:
#   cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake
# The tests then run under Wine through ctest.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The -posix compilers use the POSIX thread model. The plain names may point at the
# win32 model, whose C++ library in this GCC has no std::thread or std::mutex.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime and C++ library: precheck.exe runs without any DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Debian's wine64 sits at the fixed address 0x7d000000 and has no preloader to keep
# the space above it free. The kernel puts its heap at a random distance above it, now
# and then over the page at 0x7ffe0000 that Wine needs, and that start fails ("failed
# to map the shared user data"). Without address randomization the heap starts right
# above wine64, far below that page.
set(CMAKE_CROSSCOMPILING_EMULATOR setarch x86_64 -R wine)
