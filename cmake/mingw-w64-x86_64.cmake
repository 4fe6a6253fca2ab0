# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers
# (g++-mingw-w64-x86-64). The posix-threads variant is used because the
# test framework needs std::thread; the program itself starts no threads.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CELLGLYPH_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${CELLGLYPH_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CELLGLYPH_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${CELLGLYPH_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${CELLGLYPH_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything linked in, so that the .exe runs on a bare Windows without the
# compiler's run-time DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine, through a wrapper that keeps Wine quiet, uses
# a prefix inside the build folder and reports a test as skipped when Wine
# cannot start.
set(CELLGLYPH_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh --prefix ${CELLGLYPH_WINE_PREFIX})
