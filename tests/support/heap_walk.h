// Counting live heap blocks, for leak checks (header-only so that programs
// without the C runtime's start-up can use it too).
#pragma once

#include <windows.h>

// Number of allocated blocks in a heap, counted by walking it.
inline int BusyHeapBlocks(HANDLE heap) {
    int count = 0;
    PROCESS_HEAP_ENTRY entry{};
    HeapLock(heap);
    while (HeapWalk(heap, &entry)) {
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) ++count;
    }
    HeapUnlock(heap);
    return count;
}

// Blocks handed out by GlobalAlloc live in the process heap.
inline int LiveGlobalBlocks() { return BusyHeapBlocks(GetProcessHeap()); }
