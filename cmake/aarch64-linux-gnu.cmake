# SPDX-License-Identifier: MIT
# Cross-build for 64-bit ARM with Debian's g++-aarch64-linux-gnu; the tests run
# the program under qemu-user, with the target's C library from the cross
# toolchain's sysroot.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/aarch64-linux-gnu)
