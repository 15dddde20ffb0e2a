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
# Code built for size: Clang's -Os keeps much that GCC's drops (its -Oz
# was 700 bytes smaller on the application, as GCC's -Os is).
set(RT_FOR_SIZE $<IF:$<CXX_COMPILER_ID:Clang>,-Oz,-Os>)
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
  # Clang reads every variable it did not define through a pointer of its
  # own, in case the linker has to import it from a DLL; each such pointer
  # is an address to fix up at load. The runtime's variables are in the
  # program itself.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    target_compile_options(${target} PRIVATE -fvisibility=hidden
                           "SHELL:-Xclang -fapply-global-visibility-to-externs")
  endif()
endfunction()

# The runtime is optimised again together with each program of this tree,
# which drops whatever the program never calls and folds what it calls with
# constants. With GCC the library's objects carry both forms: the optimiser's
# for this, and plain code for programs linked without it (the tests, and
# programs built against the installed package). Clang's objects hold one
# form, so with Clang the library gets a twin in the optimiser's form, named
# TARGET_whole, which only this tree's programs link (rt_program_executable);
# the library itself, and the package, keep plain code.
function(rt_whole_program_target target)
  if(NOT CMAKE_BUILD_TYPE STREQUAL "Release")
    return()
  endif()
  get_target_property(type ${target} TYPE)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    set_property(TARGET ${target} PROPERTY INTERPROCEDURAL_OPTIMIZATION ON)
    if(type STREQUAL "STATIC_LIBRARY")
      target_compile_options(${target} PRIVATE -ffat-lto-objects)
    else()
      # The optimiser has already dropped what is unused; one section per
      # function would only pad each to 16 bytes.
      target_link_options(${target} PRIVATE -fno-function-sections)
    endif()
  elseif(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    if(type STREQUAL "STATIC_LIBRARY")
      # Same sources, options and include paths (read when generated, so
      # options given after this call count too); source properties apply
      # as the twin is made in the same directory.
      get_target_property(sources ${target} SOURCES)
      add_library(${target}_whole STATIC EXCLUDE_FROM_ALL ${sources})
      target_compile_options(${target}_whole PRIVATE $<TARGET_PROPERTY:${target},COMPILE_OPTIONS>)
      target_include_directories(${target}_whole PRIVATE $<TARGET_PROPERTY:${target},INCLUDE_DIRECTORIES>)
      set_property(TARGET ${target}_whole PROPERTY INTERPROCEDURAL_OPTIMIZATION ON)
    else()
      set_property(TARGET ${target} PROPERTY INTERPROCEDURAL_OPTIMIZATION ON)
    endif()
  endif()
endfunction()
