# Cross build for 64-bit Windows with the mingw-w64 compilers of the host (the posix
# threading variant, which gives std::thread and std::mutex to the tests).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MIREL_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MIREL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MIREL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MIREL_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MIREL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One executable with nothing beside it: the C and C++ runtimes and winpthread are
# linked in, only system DLLs remain imports.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
