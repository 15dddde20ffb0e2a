// Start-up and END, observed from outside: the probe program is started like
// the application and its exit code and output are read back.
#include <gtest/gtest.h>

#include "test_support.h"

namespace {

struct EndCase {
    const char* scenario;
    DWORD exitCode;
    const char* output;  // exactly what the probe writes before it ends
};

// A global object's destructor writes "G+heap " once, first of all, from
// every way END is reached.
const EndCase kEndCases[] = {
    // Script returns without touching ExitCode.
    {"empty", 0, "G+heap "},
    {"exit-code", 7, "G+heap "},
    // 50 frames of user code abandoned.
    {"deep", 9, "G+heap "},
    // The C library's exit is END with its code.
    {"exit", 13, "G+heap "},
    // Newest routine first, each still able to use the heap.
    {"exit-routines", 5, "G+heap B+heap A+heap "},
    // Definitions, control nodes, texts and list nodes are all gone when the
    // exit routines run.
    {"window-list", 0, "G+heap freed-to 0 "},
    // From a window procedure called by SendMessage: the send never returns,
    // exit routines still run.
    {"window-proc", 42, "G+heap R+heap "},
    {"dispatched", 41, "G+heap "},
    // From inside a nested message loop inside a window procedure.
    {"nested-loop", 43, "G+heap "},
    // From a timer procedure called by the platform's message-box loop.
    {"message-box", 44, "G+heap "},
    // END entered again from an exit routine ends the process at once with
    // ExitCode; shutdown called from one does not run the routines again.
    {"end-in-exit-routine", 12, "G+heap E "},
    {"shutdown-in-exit-routine", 3, "G+heap S A+heap "},
    // The script runs with the runtime's x87 mode (bit 6 masked out).
    {"fpu", 0, "831 G+heap "},
};

TEST(ProgramEnd, EndsWithExitCodeFromEveryDepth) {
    const std::string probe = SiblingProgram("end_probe.exe");
    for (const EndCase& c : kEndCases) {
        SCOPED_TRACE(c.scenario);
        const ProgramResult result = RunProgram(probe, c.scenario);
        ASSERT_TRUE(result.started);
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.output, c.output);
    }
}

}  // namespace
