# The -posix compilers: the win32 thread model of GCC 12 lacks std::thread and std::mutex.
set(CMAKE_C_COMPILER ${NEB_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NEB_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${NEB_TRIPLE}-windres)
set(CMAKE_AR ${NEB_TRIPLE}-gcc-ar-posix)
set(CMAKE_RANLIB ${NEB_TRIPLE}-gcc-ranlib-posix)
set(CMAKE_FIND_ROOT_PATH /usr/${NEB_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Everything static: the installer is one file and needs no MinGW runtime DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
