# SPDX-License-Identifier: MIT
# Cross-build for Windows x86-64 with Debian's g++-mingw-w64-x86-64-posix. The
# tests run the program under Wine, in a prefix of the build's own, with Wine's
# own notes silenced: on standard error they would fail every test.
#
# Wine maps the page Windows calls the shared user data at a fixed address,
# which the kernel's address randomisation now and then gives to something
# else first: Wine then stops before the program starts, with status 1 and,
# its notes silenced, nothing said ("failed to map the shared user data"),
# about one run in four thousand. Run with a fixed layout, as setarch -R
# gives, the program's address space is the same every time.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(wine_prefix env WINEPREFIX=${CMAKE_BINARY_DIR}/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${wine_prefix} WINEDEBUG=-all setarch -R wine)

# Within a second of the last program's end, Wine stops its own services and
# then its server, and the next program starts them again: a test whose program
# starts while they stop may be killed with them. So the tests start one server
# of their own first, kept up to a minute past the last program, and stop it
# when they end. It keeps whatever it is given open, and ctest would wait for
# that: it is given nothing.
set(QUADRATIC_EMULATOR_START ${wine_prefix} sh -c
  "mkdir -p \"$WINEPREFIX\" && exec wineserver --persistent=60 </dev/null >/dev/null 2>&1")
set(QUADRATIC_EMULATOR_STOP ${wine_prefix} wineserver --kill)
