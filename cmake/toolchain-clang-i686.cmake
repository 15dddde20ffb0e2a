# 32-bit Windows build with Clang and lld: compiled and linked, layouts checked.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(RT_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/clang-mingw.cmake)
