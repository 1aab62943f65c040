# Builds the WebAssembly module with Debian's clang 19 for wasm32-wasi, against
# wasi-libc and the wasm32 builds of libc++ and libc++abi (packages wasi-libc,
# libc++-19-dev-wasm32, libc++abi-19-dev-wasm32, libclang-rt-19-dev-wasm32).
# The module is a reactor: no main, the page calls its exports.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)

set(KARBELON_WASM_TARGET wasm32-wasi)
set(CMAKE_C_COMPILER clang-19)
set(CMAKE_CXX_COMPILER clang++-19)
set(CMAKE_C_COMPILER_TARGET ${KARBELON_WASM_TARGET})
set(CMAKE_CXX_COMPILER_TARGET ${KARBELON_WASM_TARGET})

# Debian installs the WASI headers and libraries under the usual prefixes
# (/usr/include/wasm32-wasi, /usr/lib/wasm32-wasi), where clang looks by itself.
set(CMAKE_FIND_ROOT_PATH /usr/lib/wasm32-wasi)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A module has no use for a program test: check the compiler on a library.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

# Small: no exceptions (libc++ for WASI is built without them), no
# type information, and every function in a section of its own so that the
# linker drops what no export reaches.
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions -fno-rtti -ffunction-sections -fdata-sections")
set(CMAKE_CXX_FLAGS_MINSIZEREL_INIT "-Os -DNDEBUG")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -mexec-model=reactor -Wl,--gc-sections")
set(CMAKE_EXE_LINKER_FLAGS_MINSIZEREL_INIT "-Wl,--strip-all")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-Wl,--strip-all")
