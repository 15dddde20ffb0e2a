// The runtime heap, the temporary-value stack and exit routines.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "rt_memory.h"
#include "test_support.h"

namespace {

// Each test starts with a fresh heap and leaves none behind.
class RuntimeHeapTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(HeapStart(), 1); }
    void TearDown() override { HeapShutdown(); }
    static int LiveBlocks() { return BusyHeapBlocks(RuntimeHeapHandle()); }
};

TEST(RuntimeHeapWithoutStart, AllocationAndReleaseDoNothing) {
    ASSERT_EQ(RuntimeHeapHandle(), nullptr);
    EXPECT_EQ(HeapAllocate(16), nullptr);
    int dummy = 0;
    EXPECT_EQ(HeapRelease(&dummy), 0);
    EXPECT_EQ(HeapShutdown(), 0);
}

TEST_F(RuntimeHeapTest, BlocksAreZeroFilledAndThreeBytesLonger) {
    for (int32_t size : {0, 1, 17, 4096}) {
        SCOPED_TRACE(size);
        auto* block = static_cast<unsigned char*>(HeapAllocate(size));
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(HeapSize(RuntimeHeapHandle(), 0, block), static_cast<SIZE_T>(size) + 3);
        for (int32_t i = 0; i < size + 3; ++i) ASSERT_EQ(block[i], 0) << i;
        EXPECT_NE(HeapRelease(block), 0);
    }
    EXPECT_EQ(HeapRelease(nullptr), 0);
    EXPECT_EQ(HeapAllocate(-1), nullptr);
}

TEST_F(RuntimeHeapTest, SecondStartKeepsHeapAndParkedBlocks) {
    void* const heap = RuntimeHeapHandle();
    TempPush(HeapAllocate(4));
    EXPECT_EQ(HeapStart(), 1);
    EXPECT_EQ(RuntimeHeapHandle(), heap);
    EXPECT_EQ(TempStackDepth(), 1);
}

TEST_F(RuntimeHeapTest, AllocationFailureCompactsAndRetriesOnce) {
    static int calls;
    calls = 0;
    struct Refuse {
        static LPVOID WINAPI HeapAlloc(HANDLE, DWORD, SIZE_T) {
            ++calls;
            return nullptr;
        }
    };
    ScopedImportHook refuse("kernel32.dll", "HeapAlloc", reinterpret_cast<void*>(Refuse::HeapAlloc));
    ASSERT_TRUE(refuse.Installed());
    EXPECT_EQ(HeapAllocate(8), nullptr);
    EXPECT_EQ(calls, 2);
}

TEST_F(RuntimeHeapTest, TempStackReleasesParkedBlocks) {
    const int before = LiveBlocks();
    for (int i = 0; i < 5; ++i) TempPush(HeapAllocate(10));
    EXPECT_EQ(TempStackDepth(), 5);
    EXPECT_EQ(LiveBlocks() - before, 5);
    TempRelease(2);
    EXPECT_EQ(TempStackDepth(), 3);
    EXPECT_EQ(LiveBlocks() - before, 3);
    TempReleaseAll();
    EXPECT_EQ(TempStackDepth(), 0);
    EXPECT_EQ(LiveBlocks(), before);
    TempRelease(0);
    TempRelease(-3);
    EXPECT_EQ(TempStackDepth(), 0);
}

TEST_F(RuntimeHeapTest, OverflowAndUnderflowAreReportedOnTheDebuggerChannel) {
    DebugOutputCapture capture;
    for (int i = 0; i < TEMP_STACK_SLOTS; ++i) TempPush(HeapAllocate(1));
    EXPECT_TRUE(capture.Messages().empty());
    void* dropped = HeapAllocate(1);
    TempPush(dropped);
    EXPECT_EQ(TempStackDepth(), TEMP_STACK_SLOTS);
    EXPECT_EQ(capture.Messages(), std::vector<std::string>{"Heap Stack Overflow"});
    HeapRelease(dropped);  // the stack did not take it

    // One report per call, with the number of missing entries, however many.
    TempReleaseAll();
    TempPush(HeapAllocate(1));
    TempRelease(3);
    EXPECT_EQ(TempStackDepth(), 0);
    TempRelease(INT32_MAX);
    TempRelease(0);
    TempRelease(-5);
    EXPECT_EQ(TempStackDepth(), 0);
    EXPECT_EQ(capture.Messages(), (std::vector<std::string>{"Heap Stack Overflow", "Heap Stack Underflow (2)",
                                                            "Heap Stack Underflow (2147483647)"}));
}

std::string exitLog;
void LogExitRoutine(intptr_t argument) {
    exitLog += static_cast<char>(argument);
    // The heap must still be usable while the routines run.
    void* block = HeapAllocate(4);
    exitLog += block ? "+" : "-";
    HeapRelease(block);
}

TEST(RuntimeHeapShutdown, ExitRoutinesRunNewestFirstBeforeTheHeapGoes) {
    // Counted before the heap exists: the system keeps a record of each heap.
    const int blocksBefore = LiveGlobalBlocks();
    ASSERT_EQ(HeapStart(), 1);
    exitLog.clear();
    ExitRoutineAdd(LogExitRoutine, 'A');
    ExitRoutineAdd(nullptr, 'X');  // ignored
    ExitRoutineAdd(LogExitRoutine, 'B');
    ExitRoutineAdd(LogExitRoutine, 'C');
    EXPECT_NE(HeapShutdown(), 0);
    EXPECT_EQ(exitLog, "C+B+A+");
    // List nodes and routine records are freed with the list.
    EXPECT_EQ(LiveGlobalBlocks(), blocksBefore);
    // Nothing can allocate from the destroyed heap, and nothing runs twice.
    EXPECT_EQ(RuntimeHeapHandle(), nullptr);
    EXPECT_EQ(HeapAllocate(1), nullptr);
    EXPECT_EQ(HeapShutdown(), 0);
    EXPECT_EQ(exitLog, "C+B+A+");
}

TEST(RuntimeHeapShutdown, WithoutExitRoutinesOnlyDestroysTheHeap) {
    const int blocksBefore = LiveGlobalBlocks();
    ASSERT_EQ(HeapStart(), 1);
    EXPECT_NE(HeapShutdown(), 0);
    EXPECT_EQ(LiveGlobalBlocks(), blocksBefore);
    EXPECT_EQ(RuntimeHeapHandle(), nullptr);
}

// Shutdown called again from an exit routine does not start over; a routine
// added while the routines run is run too, before the heap goes.
void ShutDownAgain(intptr_t argument) {
    LogExitRoutine(argument);
    EXPECT_EQ(HeapShutdown(), 0);
}
void AddAnotherRoutine(intptr_t argument) {
    LogExitRoutine(argument);
    ExitRoutineAdd(LogExitRoutine, 'N');
}

TEST(RuntimeHeapShutdown, ShutdownFromAnExitRoutineAndRoutinesAddedMeanwhile) {
    const int blocksBefore = LiveGlobalBlocks();
    ASSERT_EQ(HeapStart(), 1);
    exitLog.clear();
    ExitRoutineAdd(LogExitRoutine, 'A');
    ExitRoutineAdd(ShutDownAgain, 'S');
    ExitRoutineAdd(AddAnotherRoutine, 'R');
    EXPECT_NE(HeapShutdown(), 0);
    EXPECT_EQ(exitLog, "R+S+A+N+");
    EXPECT_EQ(RuntimeHeapHandle(), nullptr);
    EXPECT_EQ(LiveGlobalBlocks(), blocksBefore);
    // A new heap starts with no routines.
    ASSERT_EQ(HeapStart(), 1);
    EXPECT_NE(HeapShutdown(), 0);
    EXPECT_EQ(exitLog, "R+S+A+N+");
}

}  // namespace
