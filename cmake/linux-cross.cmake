# SPDX-License-Identifier: MIT
# Cross-build for another Linux architecture with Debian's cross compiler for
# the GNU triplet in QUADRATIC_TRIPLET: aarch64-linux-gnu, powerpc64le-linux-gnu,
# s390x-linux-gnu, riscv64-linux-gnu. The tests run the program under
# qemu-user, with the target's C library from the cross toolchain's sysroot.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUADRATIC_TRIPLET)
if(NOT QUADRATIC_TRIPLET MATCHES "^([a-z0-9_]+)-linux-gnu$")
  message(FATAL_ERROR "QUADRATIC_TRIPLET must name a Linux target, such as aarch64-linux-gnu, "
    "not '${QUADRATIC_TRIPLET}'")
endif()
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${CMAKE_MATCH_1})
set(CMAKE_CXX_COMPILER ${QUADRATIC_TRIPLET}-g++)
string(REPLACE powerpc64le ppc64le qemu_processor ${CMAKE_SYSTEM_PROCESSOR})
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-${qemu_processor} -L /usr/${QUADRATIC_TRIPLET})
