# find_package(Corvantis) gives Corvantis::runtime (the library and its
# headers), Corvantis::entry (ProgramStartup and END) and corvantis_program(),
# which turns an executable into a runtime program. Build with the same
# MinGW architecture as the package was installed for.
include("${CMAKE_CURRENT_LIST_DIR}/CorvantisTargets.cmake")
include("${CMAKE_CURRENT_LIST_DIR}/CorvantisProgram.cmake")
