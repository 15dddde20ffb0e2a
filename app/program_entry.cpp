// Process entry and the END path.
//
// END may be reached from deep inside platform callbacks (a window procedure
// called by a message box's modal loop, say). Those frames are abandoned, not
// unwound: the process ends right after the clean-up, and running C++ or SEH
// unwinding through the platform's frames is not safe.
#include "rt_program.h"

#include "language_startup.h"
#include "rt_dialogs_internal.h"

#include "rt_memory.h"
#include "rt_numbers.h"

int32_t ExitCode;
HINSTANCE ModuleHandle;
uintptr_t StartupStack;

namespace {

void* resumePoint[5];  // __builtin_setjmp's buffer: frame, label, stack, spare
bool endReached;

#if defined(__i386__)
// The SEH chain head at the resume point. Frames abandoned by END may have
// registered handlers below it; the debug-print exception of an exit routine
// would otherwise walk into dead stack.
void* startupExceptionChain;
#endif

[[noreturn]] void FinishProgram() {
    LanguageShutdown();
    WindowListFree();
    HeapShutdown();
    ExitProcess(static_cast<UINT>(ExitCode));
}

}  // namespace

extern "C" void ProgramStartup() {
    _pei386_runtime_relocator();
    FpuModeReset();
    HeapStart();
    ModuleHandle = GetModuleHandleA(nullptr);
#if defined(__i386__)
    __asm__ __volatile__("movl %%fs:0, %0" : "=r"(startupExceptionChain));
#endif
    // The builtin pair restores only the frame and stack pointers; the
    // compiler saves every register it needs around the receiver itself.
    // GCC and Clang both lay the five-word buffer out this way and both
    // build the receiver as a landing pad, so the one form serves both.
    if (__builtin_setjmp(resumePoint) != 0) FinishProgram();
    uintptr_t stack;
#if defined(__x86_64__)
    __asm__ __volatile__("movq %%rsp, %0" : "=r"(stack));
#else
    __asm__ __volatile__("movl %%esp, %0" : "=r"(stack));
#endif
    StartupStack = stack;
    LanguageStartup();
    ApplicationScript();
    ProgramEnd();
}

void ProgramEnd() {
    // END runs once. Entered again (from an exit routine, say) the clean-up is
    // already under way or done: end the process at once.
    if (endReached) ExitProcess(static_cast<UINT>(ExitCode));
    endReached = true;
    // Without a resume point (a program that did not start here) the
    // clean-up runs on the current stack.
    if (StartupStack == 0) FinishProgram();
#if defined(__i386__)
    __asm__ __volatile__("movl %0, %%fs:0" : : "r"(startupExceptionChain) : "memory");
#endif
    __builtin_longjmp(resumePoint, 1);
}

// The C library's exit would end the process without the destructors or
// END's clean-up: here it is END with the code given.
extern "C" void exit(int code) {
    ExitCode = code;
    ProgramEnd();
}
