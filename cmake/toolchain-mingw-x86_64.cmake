# 64-bit Windows: the same program, run end to end where Wine can run no 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
