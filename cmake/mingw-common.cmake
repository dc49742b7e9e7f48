# What both mingw-w64 toolchains share; the including file sets CMAKE_SYSTEM_PROCESSOR and
# BW_TRIPLET first. The posix thread model: the default one lacks std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
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
# No runtime DLLs beside the program: libgcc, libstdc++ and winpthread are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
