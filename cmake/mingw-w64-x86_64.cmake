# Cross-builds quorva.exe for 64-bit Windows with Debian's MinGW-w64 compilers and runs the tests
# under Wine: cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# (add -DQUORVA_BUILD_TESTS=OFF for quorva.exe alone, without Wine)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The posix-thread variant: GoogleTest needs std::mutex, which the win32 variant lacks.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained .exe: no MinGW runtime DLLs to ship beside it or to find under Wine.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest runs every test program, and the end-to-end tests run quorva.exe, through Wine. A build
# without the tests (the release zip's) needs no Wine.
find_program(QUORVA_WINE NAMES wine wine64)
if(QUORVA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUORVA_WINE})
endif()
