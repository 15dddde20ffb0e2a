// The runtime heap, the temporary-value stack and the exit routines.
#include "rt_memory.h"

#include <windows.h>

#include "rt_numbers.h"
#include "rt_strings.h"

namespace {

HANDLE heapHandle;
int32_t tempCount;
void* tempSlots[TEMP_STACK_SLOTS];
BlockListNode* exitRoutineList;
bool shuttingDown;

constexpr SIZE_T kInitialHeapSize = 0x7FFFF;
constexpr SIZE_T kBlockSlack = 3;  // every block is 3 bytes longer than asked

}  // namespace

int32_t HeapStart() {
    if (!heapHandle) {
        heapHandle = HeapCreate(0, kInitialHeapSize, 0);
        tempCount = 0;
    }
    return heapHandle ? 1 : 0;
}

void* HeapAllocate(int32_t size) {
    if (!heapHandle || size < 0) return nullptr;
    const SIZE_T bytes = static_cast<SIZE_T>(size) + kBlockSlack;
    void* block = HeapAlloc(heapHandle, HEAP_ZERO_MEMORY, bytes);
    if (!block) {
        HeapCompact(heapHandle, 0);
        block = HeapAlloc(heapHandle, HEAP_ZERO_MEMORY, bytes);
    }
    return block;
}

int32_t HeapRelease(void* block) {
    if (!heapHandle || !block) return 0;
    return HeapFree(heapHandle, 0, block) ? 1 : 0;
}

int32_t HeapShutdown() {
    // An exit routine that shuts down finds the shutdown under way.
    if (shuttingDown) return 0;
    shuttingDown = true;
    // The list is taken before its routines run, so that a routine added
    // meanwhile lands on a new list: it is run too, in the next round.
    while (exitRoutineList) {
        BlockListNode* const list = exitRoutineList;
        exitRoutineList = nullptr;
        for (BlockListNode* node = ListFirst(list); node; node = ListNext(node)) {
            const auto* record = reinterpret_cast<const ExitRoutine*>(ListData(node));
            if (record && record->routine) record->routine(record->argument);
        }
        ListDestroy(list, 1);
    }
    int32_t result = 0;
    if (heapHandle) {
        result = HeapDestroy(heapHandle) ? 1 : 0;
        // Blocks parked on the stack died with the heap; forget the handle so
        // that nothing can allocate from a destroyed heap.
        heapHandle = nullptr;
        tempCount = 0;
    }
    shuttingDown = false;
    return result;
}

int32_t ExitRoutineAdd(ExitRoutineProc routine, intptr_t argument) {
    if (!routine) return 0;
    if (!exitRoutineList) exitRoutineList = ListCreate();
    if (!exitRoutineList) return 0;
    auto* record = static_cast<ExitRoutine*>(GlobalBlockAlloc(BLOCK_RECORD, sizeof(ExitRoutine)));
    if (!record) return 0;
    record->routine = routine;
    record->argument = argument;
    // Newest first: shutdown walks from the front.
    const BlockListNode* const previousFirst = ListFirst(exitRoutineList);
    ListInsertFirst(exitRoutineList, reinterpret_cast<uintptr_t>(record));
    if (ListFirst(exitRoutineList) == previousFirst) GlobalBlockFree(record);  // no node for it
    return 0;
}

int32_t TempPush(void* block) {
    if (tempCount < TEMP_STACK_SLOTS) {
        tempSlots[tempCount++] = block;
    } else {
        DebugPrint("Heap Stack Overflow");
    }
    return 0;
}

int32_t TempReleaseAll() {
    for (int32_t i = 0; i < tempCount; ++i) HeapRelease(tempSlots[i]);
    tempCount = 0;
    return 0;
}

int32_t TempRelease(int32_t n) {
    if (n <= 0) return 0;
    const int32_t available = n < tempCount ? n : tempCount;
    for (int32_t i = 0; i < available; ++i) HeapRelease(tempSlots[--tempCount]);
    if (n > available) {
        // One report per call, with the number of missing entries.
        char text[48] = "Heap Stack Underflow (";
        const int32_t prefix = StrLength(text);
        const int32_t digits = UInt64ToText(text + prefix, static_cast<uint64_t>(n - available));
        text[prefix + digits - 1] = ')';  // in place of the trailing blank
        DebugPrint(text);
    }
    return 0;
}

int32_t TempStackDepth() { return tempCount; }

void* RuntimeHeapHandle() { return heapHandle; }

int32_t DebugPrint(const char* text) {
    OutputDebugStringA(text ? text : "");
    return 0;
}
