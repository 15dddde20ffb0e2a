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

// The executable's entry point (corvantis_program makes it so). In order:
// the places that refer to system DLLs' data are relocated; fixed FPU mode,
// heap, module handle, resume point; the unwind tables are registered (i686)
// and global constructors run in their order, so they may use the heap; then
// the script. Never returns.
extern "C" [[noreturn]] void ProgramStartup();
// From any call depth: abandons every active frame without unwinding. Then,
// in order: functions given to atexit and destructors of global and static
// objects run, newest first, each once, while the dialog definitions and the
// heap still exist; the dialog definitions are freed; the exit routines run
// (HeapShutdown); the heap is destroyed; the process exits with ExitCode.
// Reached again while that runs (from a destructor or an exit routine), it
// ends the process at once with ExitCode.
//
// Exceptions: a program may throw and catch inside its script and inside an
// event handler, but no exception may leave a handler or the script. The
// runtime's and the platform's frames cannot be unwound; one that escapes
// ends the program through std::terminate. exit(code) sets ExitCode and
// reaches END.
[[noreturn]] void ProgramEnd();
