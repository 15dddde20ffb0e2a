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

add_compile_options(-Wall -Wextra -ffunction-sections -fdata-sections)
# Programs are stripped by corvantis_program; test programs keep their
# symbols, so a crash under Wine names the functions in its backtrace.
add_link_options(-static -static-libgcc -Wl,--gc-sections)

# Runtime and application code: no exceptions, no RTTI.
function(rt_strict_target target)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti>
    -Wshadow -Wconversion -Wno-sign-conversion)
endfunction()
