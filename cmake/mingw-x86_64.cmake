# Cross toolchain: 64-bit Windows with mingw-w64, run under 64-bit Wine. The same source as the
# 32-bit program; it runs on machines that cannot start 32-bit processes. x86_64 does its floating
# point in SSE2 already: the same rounding as the 32-bit build.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(BW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
