# Cross toolchain: 32-bit Windows with mingw-w64, run under 32-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(BW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# SSE2 arithmetic: no x87 excess precision, so rounding is the same on every build.
set(CMAKE_C_FLAGS_INIT   "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
