# SPDX-License-Identifier: MIT
# Cross-build for Windows x86-64 with Debian's g++-mingw-w64-x86-64-posix. The
# tests run the program under Wine, in a prefix of the build's own, with Wine's
# own notes silenced: on standard error they would fail every test.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(wine_prefix env WINEPREFIX=${CMAKE_BINARY_DIR}/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${wine_prefix} WINEDEBUG=-all wine)

# Wine stops its own processes (explorer, the services) once no program of
# the prefix runs, and then its server; a program that starts while they stop
# may end with them, with status 1 and no output, as about one run in a
# thousand did on a busy machine. So the tests start a server of their own,
# and keep one program waiting in the prefix while they run: cmd, reading from
# a pipe that nothing writes to, in a process group of its own, which the last
# test ends with the server. Both are given nothing of ctest's to keep open,
# since ctest would wait for that. (No ';' in these: CMake would split the
# command there.)
set(QUADRATIC_EMULATOR_START ${wine_prefix} sh -c [[
mkdir -p "$WINEPREFIX" && wineserver --persistent=60 </dev/null >/dev/null 2>&1 &&
setsid sh -c 'sleep 3600 | WINEDEBUG=-all wine cmd' </dev/null >/dev/null 2>&1 &
echo $! >"$WINEPREFIX/holder"]])
set(QUADRATIC_EMULATOR_STOP ${wine_prefix} sh -c [[
kill -- -"$(cat "$WINEPREFIX/holder")"
wineserver --kill]])
