# find_package(Corvantis) gives Corvantis::runtime (the library and its
# headers), Corvantis::entry (ProgramStartup and END) and corvantis_program(),
# which turns an executable into a runtime program. Build with the same
# MinGW architecture and compiler as the package was installed for.
include("${CMAKE_CURRENT_LIST_DIR}/CorvantisTargets.cmake")
get_filename_component(CORVANTIS_START_FILES "${CMAKE_CURRENT_LIST_DIR}/../../corvantis" ABSOLUTE)
include("${CMAKE_CURRENT_LIST_DIR}/CorvantisProgram.cmake")
