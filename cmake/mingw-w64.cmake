# SPDX-License-Identifier: MIT
# Cross-build for Windows x86-64 with Debian's g++-mingw-w64-x86-64-posix. The
# tests run the program under Wine, in a prefix of the build's own, with Wine's
# own notes silenced: on standard error they would fail every test.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all wine)
