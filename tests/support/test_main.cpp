// Test programs start in the floating-point mode that the runtime's process
// entry establishes.
#include <gtest/gtest.h>

#include <cstdlib>

#include "rt_numbers.h"
#include "whole_run.h"

namespace {

std::string Setting(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

int main(int argc, char** argv) {
    FpuModeReset();
    testing::InitGoogleTest(&argc, argv);
    // Set when the whole program is registered as one test.
    const std::string limit = Setting("RT_TEST_CASE_LIMIT");
    const std::string results = Setting("RT_TEST_RESULTS");
    if (limit.empty() && results.empty()) return RUN_ALL_TESTS();

    // The supervisor runs the tests in child processes of its own; a run
    // asked for with a filter of its own is one process.
    const bool child = !Setting("RT_TEST_CHILD").empty();
    if (!child && testing::GTEST_FLAG(filter) == "*") return SuperviseWholeRun(results);
    WholeRunWatch watch(std::atoi(limit.c_str()), results, child);
    testing::TestEventListeners& listeners = testing::UnitTest::GetInstance()->listeners();
    listeners.Append(&watch);
    const int status = RUN_ALL_TESTS();
    listeners.Release(&watch);
    return status;
}
