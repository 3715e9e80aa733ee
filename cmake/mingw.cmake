# Cross-build for Windows with Debian's mingw-w64 toolchain; the tests run through Wine.
# Included by mingw-i686.cmake and mingw-x86_64.cmake, which name the target.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${TOLVANE_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOLVANE_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TOLVANE_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOLVANE_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# scripts/wine-env.sh names the Wine loader of the build's architecture.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
