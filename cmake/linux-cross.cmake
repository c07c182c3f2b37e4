# SPDX-License-Identifier: MIT
# Build for a Linux architecture and C library with Debian's g++ for that
# architecture, named by the triplet in QUADRATIC_TRIPLET: a GNU one, such as
# aarch64-linux-gnu or arm-linux-gnueabihf, links glibc from the cross
# toolchain; a musl one, such as aarch64-linux-musl, x86_64-linux-musl or
# arm-linux-musleabihf, links Debian's musl for it (musl-dev:ARCH), statically.
# The tests run the program under qemu-user, or natively on the build machine's
# own architecture.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUADRATIC_TRIPLET)
if(NOT QUADRATIC_TRIPLET)
  message(FATAL_ERROR "Name the Linux triplet to build for in the environment variable TRIPLET, "
    "as in: TRIPLET=arm-linux-gnueabihf cmake --preset cross")
endif()
if(NOT QUADRATIC_TRIPLET MATCHES "^([a-z0-9_]+)-linux-(gnu|musl)(eabi|eabihf)?$")
  message(FATAL_ERROR "TRIPLET must name a Linux target, such as aarch64-linux-gnu or "
    "aarch64-linux-musl, not '${QUADRATIC_TRIPLET}'")
endif()
set(processor ${CMAKE_MATCH_1})
set(libc ${CMAKE_MATCH_2})
# Debian names 32-bit x86 i686 for GNU and i386 for musl; its g++ is i686's.
string(REGEX REPLACE "^i[3-6]86-linux-musl" i686-linux-musl gnu ${QUADRATIC_TRIPLET})
string(REPLACE -musl -gnu gnu ${gnu})
set(CMAKE_CXX_COMPILER ${gnu}-g++)
# Another architecture's programs run under qemu, which names a few
# processors its own way; the build machine's own run as they are, which
# CMake knows as no cross build.
string(REGEX REPLACE "^i[3-6]86$" i386 qemu_processor ${processor})
string(REPLACE powerpc64le ppc64le qemu_processor ${qemu_processor})
if(NOT processor STREQUAL CMAKE_HOST_SYSTEM_PROCESSOR)
  set(CMAKE_SYSTEM_NAME Linux)
  set(CMAKE_SYSTEM_PROCESSOR ${processor})
  set(CMAKE_CROSSCOMPILING_EMULATOR qemu-${qemu_processor} -L /usr/${gnu})
endif()

# Debian's g++ for 32-bit ARM takes -static-pie, but links a dynamic PIE with
# it: the build's check of the flag would pass, so it is answered here.
if(processor STREQUAL arm)
  set(QUADRATIC_HAS_STATIC_PIE OFF)
endif()

if(libc STREQUAL musl)
  # musl's headers instead of glibc's, with libstdc++'s <c...> headers, which
  # only wrap the C library's: the g++ search list without its C directories.
  # Those headers ask glibc's version with __GLIBC_PREREQ, which musl lacks.
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -xc++ -E -v /dev/null
                  OUTPUT_QUIET ERROR_VARIABLE search COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCH "search starts here:\n(.*)End of search list" search "${search}")
  string(REGEX MATCHALL "[^ \n]+" directories "${CMAKE_MATCH_1}")
  list(FILTER directories INCLUDE REGEX "/c\\+\\+/")
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=include
                  OUTPUT_VARIABLE compiler_include OUTPUT_STRIP_TRAILING_WHITESPACE)
  list(APPEND directories /usr/include/${QUADRATIC_TRIPLET} ${compiler_include})
  list(TRANSFORM directories PREPEND "-isystem ")
  list(JOIN directories " " directories)
  # In the rules themselves, so that flags given to the build add to them.
  set(CMAKE_CXX_COMPILE_OBJECT "<CMAKE_CXX_COMPILER> -nostdinc ${directories} \"-D__GLIBC_PREREQ(major,minor)=0\" <DEFINES> <INCLUDES> <FLAGS> -o <OBJECT> -c <SOURCE>")
  # musl's start files and libraries, found first; the C driver links, so that
  # no part of libstdc++, built for glibc, can come in.
  set(musl_lib /usr/lib/${QUADRATIC_TRIPLET})
  set(CMAKE_CXX_LINK_EXECUTABLE
    "${gnu}-gcc -B${musl_lib}/ -L${musl_lib} <FLAGS> <CMAKE_CXX_LINK_FLAGS> <LINK_FLAGS> <OBJECTS> -o <TARGET> <LINK_LIBRARIES>")
endif()
