# Flags shared by every target, and the stricter set for runtime code.

set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

if(NOT CMAKE_BUILD_TYPE)
  set(CMAKE_BUILD_TYPE Release CACHE STRING "Build type" FORCE)
endif()

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  set(RT_ARCH_I686 ON)
  # Double arithmetic rounds to double on both architectures; the x87 is used
  # explicitly where extended precision is wanted.
  add_compile_options(-msse2 -mfpmath=sse)
endif()

# No -fdata-sections: with it MinGW's GCC stores zero-initialised variables
# as initialised data, bytes on disk for every one.
add_compile_options(-Wall -Wextra -ffunction-sections)
# Data at the alignment the ABI asks, not padded out for vector loads: whole
# file-alignment units of read-only data went to padding.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-malign-data=abi)
endif()
# Programs are stripped by corvantis_program; test programs keep their
# symbols, so a crash under Wine names the functions in its backtrace.
add_link_options(-static -static-libgcc -ffunction-sections -Wl,--gc-sections)

# Runtime and application code: no exceptions, no RTTI. On i686 nothing
# unwinds through it by tables either (SEH there walks the frame chain), so
# it carries no DWARF unwind tables, a fifth of a program's size.
# No compiler identification string in .rdata either.
function(rt_strict_target target)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti -fno-ident>
    -Wshadow -Wconversion -Wno-sign-conversion)
  if(RT_ARCH_I686)
    target_compile_options(${target} PRIVATE -fno-asynchronous-unwind-tables -fno-unwind-tables)
  endif()
endfunction()

# With GCC the runtime is optimised again together with each program of this
# tree, which drops whatever the program never calls: on x86_64 the linker
# alone cannot, as every function's unwind entry keeps it. The library's
# objects also carry plain code, used by programs linked without this (the
# tests, and programs built against the installed package).
function(rt_whole_program_target target)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_BUILD_TYPE STREQUAL "Release")
    set_property(TARGET ${target} PROPERTY INTERPROCEDURAL_OPTIMIZATION ON)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "STATIC_LIBRARY")
      target_compile_options(${target} PRIVATE -ffat-lto-objects)
    else()
      # The optimiser has already dropped what is unused; one section per
      # function would only pad each to 16 bytes.
      target_link_options(${target} PRIVATE -fno-function-sections)
    endif()
  endif()
endfunction()
