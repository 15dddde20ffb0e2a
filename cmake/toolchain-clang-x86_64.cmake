# 64-bit Windows build with Clang and lld; its tests run under 64-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(RT_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/clang-mingw.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
