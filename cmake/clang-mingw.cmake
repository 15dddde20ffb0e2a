# Clang cross-compiling for MinGW-w64, shared by the two Clang toolchain
# files (which set RT_MINGW_TRIPLE first). Clang does not find the posix
# flavour of the MinGW GCC installation by itself, so its C++ headers and
# libraries are named here; lld links.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${RT_MINGW_TRIPLE})
set(CMAKE_CXX_COMPILER_TARGET ${RT_MINGW_TRIPLE})
set(CMAKE_RC_COMPILER ${RT_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${RT_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

file(GLOB _rt_gcc_dirs LIST_DIRECTORIES true "/usr/lib/gcc/${RT_MINGW_TRIPLE}/*-posix")
list(GET _rt_gcc_dirs 0 _rt_gcc)
set(RT_GCC_LIBRARY_DIR ${_rt_gcc})  # its libstdc++.a, copied by app/CMakeLists.txt
set(_rt_cxx_includes
  "-nostdinc++ -isystem ${_rt_gcc}/include/c++ -isystem ${_rt_gcc}/include/c++/${RT_MINGW_TRIPLE}"
  " -isystem ${_rt_gcc}/include/c++/backward")
string(CONCAT _rt_cxx_includes ${_rt_cxx_includes})
set(CMAKE_CXX_FLAGS_INIT "${_rt_cxx_includes} -Wno-unused-command-line-argument")
# -pthread puts winpthreads after libstdc++, which needs it (GCC's posix
# driver does that by itself).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -pthread -L${_rt_gcc}")
