// Stands in for the C runtime's start-up object when a runtime program is
// linked (corvantis_program puts its folder first in the compiler's search):
// the program's entry is ProgramStartup, so that object's entry and its
// command-line and stdio set-up have nothing to do, while the compiler's own
// objects around the program stay, with what they register for unwinding.

// The one thing of that object's that the rest of the C runtime reads: this
// module is a program, not a DLL. Its thread_local destructors (which Clang's
// programs reach) ask. Any one copy serves where this object stands in for
// several.
extern "C" {
__attribute__((selectany)) char __mingw_module_is_dll = 0;
}
