// Stands in for the C runtime's start-up object when a runtime program is
// linked (corvantis_program puts its folder first in the compiler's search):
// the program's entry is ProgramStartup, so that object's entry and its
// command-line and stdio set-up have nothing to do, while the compiler's own
// objects around the program stay, with what they register for unwinding.
// The object holds nothing.
