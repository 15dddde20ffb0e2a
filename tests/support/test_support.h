// Helpers shared by the test programs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "heap_walk.h"

// Collects the texts sent to the debugger output channel while it exists, by
// watching for the exception that OutputDebugStringA raises.
class DebugOutputCapture {
public:
    DebugOutputCapture();
    ~DebugOutputCapture();
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;
    const std::vector<std::string>& Messages() const;
private:
    void* handler_;
};

// Puts the runtime's process-wide state back as a program starts with it:
// the dialog list freed (with the definitions of its records, which must
// still exist), no creation hand-off under way, no message-box hook, the
// event variables zero. Fixtures call it in TearDown, so the tests of one
// program do not see each other's dialogs or events. Class atoms stay: a
// registered class stays registered.
void ResetRuntimeGlobals();

// Cycles of a leak-counting loop: as many as asked natively, a fifth where
// each program runs whole (under emulation, many times slower). Any object
// left behind shows after one cycle, so both lanes count leaks alike.
int Cycles(int native);

// Path of a program built beside the running test executable.
std::string SiblingProgram(const char* fileName);

struct ProgramResult {
    bool started = false;
    bool finished = false;  // within the time limit
    DWORD exitCode = 0xDEADBEEF;
    std::string output;      // standard output, CR LF as written
};
// Runs a program with the given command-line tail, capturing standard output.
ProgramResult RunProgram(const std::string& path, const std::string& arguments,
                         DWORD timeoutMs = 20000);

// Runs the test of this program that filter names in a new process started
// at dpi (the platform reads the DPI once, as a process starts), then puts
// the DPI back. Fails with the child's output when the child did not pass.
// StartedAtDpi: the DPI a process was started at so, 0 otherwise.
bool PassesAtDpi(int dpi, const char* filter, std::string* output);
int StartedAtDpi();

// Redirects this executable's import of one system function (the runtime is
// linked in statically, so its calls go through the same table) while the
// object lives. Used to make allocations fail on demand.
class ScopedImportHook {
public:
    ScopedImportHook(const char* dll, const char* function, void* replacement);
    ~ScopedImportHook();
    ScopedImportHook(const ScopedImportHook&) = delete;
    ScopedImportHook& operator=(const ScopedImportHook&) = delete;
    bool Installed() const { return slot_ != nullptr; }
    void* Original() const { return original_; }
private:
    void** slot_ = nullptr;
    void* original_ = nullptr;
};
