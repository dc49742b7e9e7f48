# Cross toolchain: 64-bit Windows with mingw-w64 (posix thread model), run under 64-bit Wine.
# The same source as the 32-bit program; it runs on machines that cannot start 32-bit processes.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(BW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${BW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER  ${BW_TRIPLET}-windres)
set(CMAKE_AR           ${BW_TRIPLET}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB       ${BW_TRIPLET}-gcc-ranlib-posix CACHE FILEPATH "")
set(CMAKE_FIND_ROOT_PATH /usr/${BW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# x86_64 does its floating point in SSE2 already: the same rounding as the 32-bit build.
# No runtime DLLs beside the program: libgcc, libstdc++ and winpthread are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
