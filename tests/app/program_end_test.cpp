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

const EndCase kEndCases[] = {
    // Script returns without touching ExitCode.
    {"empty", 0, ""},
    {"exit-code", 7, ""},
    // 50 frames of user code abandoned.
    {"deep", 9, ""},
    // Newest routine first, each still able to use the heap.
    {"exit-routines", 5, "B+heap A+heap "},
    // Definitions, control nodes, texts and list nodes are all gone when the
    // exit routines run.
    {"window-list", 0, "freed-to 0 "},
    // From a window procedure called by SendMessage: the send never returns,
    // exit routines still run.
    {"window-proc", 42, "R+heap "},
    {"dispatched", 41, ""},
    // From inside a nested message loop inside a window procedure.
    {"nested-loop", 43, ""},
    // From a timer procedure called by the platform's message-box loop.
    {"message-box", 44, ""},
    // END entered again from an exit routine ends the process at once with
    // ExitCode; shutdown called from one does not run the routines again.
    {"end-in-exit-routine", 12, "E "},
    {"shutdown-in-exit-routine", 3, "S A+heap "},
    // The script runs with the runtime's x87 mode (bit 6 masked out).
    {"fpu", 0, "831 "},
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
