# Cross-compiling the Qt-free core and k52cli for 64-bit Windows with MinGW-w64 (POSIX threads, so that
# std::thread and std::mutex work), statically linked so the programs run on a bare Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(K52_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${K52_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${K52_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${K52_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${K52_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Test programs run under Wine on this machine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
