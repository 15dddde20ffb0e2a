// Test programs start in the floating-point mode that the runtime's process
// entry establishes.
#include <gtest/gtest.h>

#include "rt_numbers.h"

int main(int argc, char** argv) {
    FpuModeReset();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
