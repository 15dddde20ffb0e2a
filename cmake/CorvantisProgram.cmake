# corvantis_program(TARGET [MANIFEST DEFAULT|CLASSIC|NONE] [DPI_UNAWARE]): makes an
# executable a runtime program, with every flag it needs.
# - Its entry is ProgramStartup: the runtime's start-up runs the language's
#   (relocations, global constructors, unwind tables), then the script; END
#   runs atexit functions and global destructors before the runtime's own
#   clean-up. The C runtime's start-up object is replaced by an empty one, so
#   the compiler's own objects around the program stay.
# - The C++ library and the compiler's support are linked in: the program
#   needs no DLL beyond the system's.
# - An application manifest: UTF-8 code page, supported systems, per-monitor
#   DPI awareness and the version 6 common controls, so that the system's
#   controls take the current theme. MANIFEST CLASSIC leaves the common
#   controls out and keeps the old look (VISUAL_STYLES, once an option, is
#   the default now). A program with a manifest resource of its own gives
#   MANIFEST NONE.
#   DPI_UNAWARE leaves the awareness out: the system then draws the program
#   at 96 DPI and stretches it.
# Used in this tree and, installed, by programs built against the package.
function(corvantis_program target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "DPI_UNAWARE" "MANIFEST" "")
  set(unaware "")
  if(arg_DPI_UNAWARE)
    set(unaware "unaware_")
  endif()
  if(NOT arg_MANIFEST OR arg_MANIFEST MATCHES "^(DEFAULT|VISUAL_STYLES)$")
    target_link_libraries(${target} PRIVATE Corvantis::styles_${unaware}manifest)
  elseif(arg_MANIFEST STREQUAL "CLASSIC")
    target_link_libraries(${target} PRIVATE Corvantis::${unaware}manifest)
  elseif(NOT arg_MANIFEST STREQUAL "NONE")
    message(FATAL_ERROR "corvantis_program: MANIFEST is DEFAULT, CLASSIC or NONE")
  endif()
  target_link_libraries(${target} PRIVATE Corvantis::entry Corvantis::runtime)
  # On i686 a Clang program takes the package's copy of the C++ library
  # (see app/CMakeLists.txt) ahead of the compiler's.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    target_link_libraries(${target} PRIVATE "${CORVANTIS_START_FILES}/libstdc++.a")
  endif()
  # A Clang program takes the package's import libraries of the DLLs the
  # runtime calls ahead of MinGW's: lld would keep a stub of code for each
  # function imported through those.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    foreach(dll user32 gdi32 kernel32)
      target_link_libraries(${target} PRIVATE "${CORVANTIS_START_FILES}/lib${dll}.a")
    endforeach()
  endif()
  target_link_options(${target} PRIVATE -static "-B${CORVANTIS_START_FILES}/")
  if(TARGET corvantis_start_file)
    add_dependencies(${target} corvantis_start_file)
  endif()
  # 32-bit symbols carry a leading underscore.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_options(${target} PRIVATE -Wl,-e,_ProgramStartup)
  else()
    target_link_options(${target} PRIVATE -Wl,-e,ProgramStartup)
  endif()
  if(CMAKE_BUILD_TYPE MATCHES "^(Release|MinSizeRel)$")
    target_link_options(${target} PRIVATE -s)
  endif()
endfunction()
