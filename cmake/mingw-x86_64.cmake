# 64-bit Windows: the same program, for machines that cannot run 32-bit code.
set(TOLVANE_MINGW x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
