// The language's start-up and shut-down, run by the runtime's entry and END.
#pragma once

// Moves the places that refer to a system DLL's data through its import
// slot; first of all, before any code reads them.
extern "C" void _pei386_runtime_relocator();
// Global constructors in their order (and, on i686, the unwind tables'
// registration). Runs once the heap exists and the resume point is set.
void LanguageStartup();
// Functions given to atexit and the destructors of global and static
// objects, newest first, each once; END runs them before anything of the
// runtime is freed.
void LanguageShutdown();
