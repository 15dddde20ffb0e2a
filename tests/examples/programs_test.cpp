// Ordinary C++ programs built outside this tree against the installed
// package (tests/programs, built by rt_build_starter in cmake/harness.sh),
// plainly and, with GCC, optimised whole (on i686 also those built with
// Clang): they run, and what the language
// does around the runtime's start and END is in the trace they leave.
#include <gtest/gtest.h>

#include <fstream>
#include <vector>
#include <sstream>
#include <string>

#include "test_support.h"

namespace {

// Written by a global object's destructor at END: the script was abandoned
// by END from a handler, so its last line never comes.
const char kOrdinaryTrace[] =
    "constructed 42\n"
    "static local initialised\n"
    "ticket 102\n"
    "containers 7 143 3.75\n"
    "imported data reached\n"
    "caught in the script\n"
    "texts in any language exact\n"
    "caught: thrown in a handler\n"
    "END from a handler\n"
    "atexit ran\n"
    "runtime heap alive\n"
    "destroyed 42\n";

std::string ReadFile(const std::string& path) {
    std::ifstream file(path);  // text mode, as the program wrote it
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(Programs, OrdinaryCppAroundTheRuntimeAndEveryFunctionLinked) {
    std::vector<std::string> builds = {RT_PROGRAMS "/programs"};
#ifdef RT_PROGRAMS_WHOLE
    builds.push_back(RT_PROGRAMS "/programs-lto");
#endif
#ifdef RT_PROGRAMS_CLANG
    builds.push_back(RT_PROGRAMS_CLANG);
#endif
    for (const std::string& build : builds) {
        SCOPED_TRACE(build);
        for (const std::string name : {"/ordinary", "/ordinary_unoptimised"}) {
            const std::string trace = build + name + ".txt";
            DeleteFileA(trace.c_str());
            const ProgramResult ordinary = RunProgram(build + name + ".exe", "", 60000);
            ASSERT_TRUE(ordinary.started) << name << ": build it with rt_build_starter (cmake/harness.sh)";
            ASSERT_TRUE(ordinary.finished) << name;
            EXPECT_EQ(ordinary.exitCode, 7u) << name;
            EXPECT_EQ(ReadFile(trace), kOrdinaryTrace) << name;
        }

        const ProgramResult every = RunProgram(build + "/every_function.exe", "", 60000);
        ASSERT_TRUE(every.started);
        EXPECT_EQ(every.exitCode, 0u) << "missing or misbehaving: the exit code counts them";

        for (const char* library : {"/library.exe", "/library_optimised.exe"}) {
            const ProgramResult run = RunProgram(build + library, "", 60000);
            ASSERT_TRUE(run.started) << library << " was not built";
            EXPECT_EQ(run.exitCode, 0u) << library << ": the exit code counts what went wrong";
        }
    }
}

}  // namespace
