// Process start-up and the END path.
#pragma once

#include <windows.h>

#include <cstdint>

#include "rt_records.h"

extern int32_t ExitCode;          // handed to ExitProcess at END; 0 unless user code sets it
extern HINSTANCE ModuleHandle;    // recorded once at start-up
extern uintptr_t StartupStack;    // stack position of the resume point

// The program's script, supplied by each executable; runs in line at start-up.
// Returning from it reaches END.
void ApplicationScript();

// The executable's entry point: fixed FPU mode, heap, module handle, resume
// point, then the script. Never returns.
extern "C" [[noreturn]] void ProgramStartup();
// From any call depth: abandons every active frame without unwinding, frees
// the dialog definitions, runs the exit routines, destroys the heap and exits
// with ExitCode. Reached again while that runs (from an exit routine), it
// ends the process at once with ExitCode.
[[noreturn]] void ProgramEnd();
