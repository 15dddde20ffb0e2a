# corvantis_program(TARGET): makes an executable a runtime program. Its entry
# point is ProgramStartup (the runtime's start-up and END, no C runtime
# start-up code), and it links the runtime. Used in this tree and, installed,
# by programs built against the package.
function(corvantis_program target)
  target_link_libraries(${target} PRIVATE Corvantis::entry Corvantis::runtime)
  # 32-bit symbols carry a leading underscore.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_options(${target} PRIVATE -nostartfiles -Wl,-e,_ProgramStartup)
  else()
    target_link_options(${target} PRIVATE -nostartfiles -Wl,-e,ProgramStartup)
  endif()
  if(CMAKE_BUILD_TYPE MATCHES "^(Release|MinSizeRel)$")
    target_link_options(${target} PRIVATE -s)
  endif()
endfunction()
