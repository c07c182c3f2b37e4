# SPDX-License-Identifier: MIT
# Cross-build a WebAssembly module for WASI preview 1 with clang and Debian's
# wasi-libc, libc++ (for the <c...> headers) and compiler-rt for wasm32. The
# tests run it under Node.js's WASI, through tests/wasi-run.mjs; without
# --no-warnings, Node would note on standard error that WASI is experimental.
set(CMAKE_SYSTEM_NAME Generic) # CMake has no WASI platform of its own
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
set(CMAKE_EXECUTABLE_SUFFIX_CXX .wasm)
set(CMAKE_CROSSCOMPILING_EMULATOR node --no-warnings ${CMAKE_CURRENT_LIST_DIR}/../tests/wasi-run.mjs)

# At an optimizing link, clang runs binaryen's wasm-opt on the module when it
# finds one, so the module's bytes would depend on whether binaryen is
# installed. An -O0 after the build's own -O keeps it out; the compiler has
# optimized the code by then. wasi-libc's debug sections would triple the
# module, and the page that carries it.
set(CMAKE_CXX_LINK_FLAGS "-O0 -Wl,--strip-debug")
