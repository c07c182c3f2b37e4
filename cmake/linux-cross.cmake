# SPDX-License-Identifier: MIT
# Cross-build for another Linux architecture with Debian's cross compiler for
# the GNU triplet in QUADRATIC_TRIPLET, such as aarch64-linux-gnu,
# arm-linux-gnueabihf or i686-linux-gnu. The tests run the program under
# qemu-user, with the target's C library from the cross toolchain's sysroot.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUADRATIC_TRIPLET)
if(NOT QUADRATIC_TRIPLET)
  message(FATAL_ERROR "Name the Linux triplet to build for in the environment variable TRIPLET, "
    "as in: TRIPLET=arm-linux-gnueabihf cmake --workflow --preset cross")
endif()
if(NOT QUADRATIC_TRIPLET MATCHES "^([a-z0-9_]+)-linux-gnu(eabi|eabihf)?$")
  message(FATAL_ERROR "TRIPLET must name a Linux target, such as aarch64-linux-gnu, "
    "not '${QUADRATIC_TRIPLET}'")
endif()
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${CMAKE_MATCH_1})
set(CMAKE_CXX_COMPILER ${QUADRATIC_TRIPLET}-g++)
# qemu names a few processors its own way.
string(REGEX REPLACE "^i[3-6]86$" i386 qemu_processor ${CMAKE_SYSTEM_PROCESSOR})
string(REPLACE powerpc64le ppc64le qemu_processor ${qemu_processor})
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-${qemu_processor} -L /usr/${QUADRATIC_TRIPLET})
