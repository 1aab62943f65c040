# Cross-compiles the native Windows program with Debian's mingw-w64 (posix
# thread model, for std::thread-capable libstdc++) and tests it under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KARBELON_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KARBELON_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KARBELON_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KARBELON_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KARBELON_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libstdc++, libgcc and winpthread go into the executable, so that it needs
# nothing but the DLLs that every Windows has.
# ld writes no link time into the PE header, so a rebuild has the same bytes.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--no-insert-timestamp")
# The release executable carries no symbols: the download stays small.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")

# CTest runs the cross-built programs through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
