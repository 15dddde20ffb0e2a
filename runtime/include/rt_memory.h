// Runtime memory: the private string heap with its temporary-value stack and
// exit routines, and long-lived global-memory blocks with doubly linked lists.
#pragma once

#include <cstdint>

// ---------------------------------------------------------------------------
// Global blocks: fixed, zero-filled GlobalAlloc memory (the handle is the
// address). The type code gives the size of one element.
enum BlockType : int32_t {
    BLOCK_STRING = 0,   // 255 bytes, one string variable
    BLOCK_TEXT = 1,     // 1 byte (text copies)
    BLOCK_INT16 = 13,   // 2 bytes
    BLOCK_INT64 = 14,   // 8 bytes (17 and 18 too)
    BLOCK_RECORD = 15,  // 1 byte: records measured in bytes
};

// count <= 0, an unrepresentable size or a refusal of the system give null.
void* GlobalBlockAlloc(int32_t typeCode, int32_t count);
int32_t GlobalBlockFree(void* block);  // null is ignored; returns 0
// Stores a zeroed block of count * elementSize bytes through out; 0 on success,
// -1 (with null stored) on failure.
int32_t GlobalArrayAlloc(void** out, int32_t count, int32_t elementSize);
int32_t GlobalArrayFree(void* block);

// A list is identified by its head node: next is the first data node, prev and
// data of the head stay 0.
struct BlockListNode {
    BlockListNode* next;
    BlockListNode* prev;
    uintptr_t data;  // owned by the list user
};

BlockListNode* ListCreate();
// Both return data. When no node can be allocated the list is left unchanged.
uintptr_t ListAppend(BlockListNode* head, uintptr_t data);
uintptr_t ListInsertFirst(BlockListNode* head, uintptr_t data);
// Unlinks and frees node (and its data block when freeData is non-zero);
// returns the node that followed it. A head node (prev 0) is left alone.
BlockListNode* ListRemove(BlockListNode* node, int32_t freeData);
// Frees every node, head included; bit 0 of freeData frees the data blocks too.
int32_t ListDestroy(BlockListNode* head, int32_t freeData);
BlockListNode* ListFirst(const BlockListNode* head);
BlockListNode* ListNext(const BlockListNode* node);
uintptr_t ListData(const BlockListNode* node);

// ---------------------------------------------------------------------------
// The runtime heap. Blocks are zero-filled and 3 bytes longer than asked.
int32_t HeapStart();                 // 1 when the heap exists afterwards
void* HeapAllocate(int32_t size);    // null without a heap, for size < 0, or when out of memory
int32_t HeapRelease(void* block);    // HeapFree's result; 0 for null or without a heap
// Runs the exit routines newest first, then destroys the heap. A routine
// added while the routines run is run too, after those already registered and
// before the heap goes; called from a routine, it returns 0 and does nothing.
// Afterwards the runtime has no heap (HeapAllocate gives null) until
// HeapStart is called again.
int32_t HeapShutdown();

typedef void (*ExitRoutineProc)(intptr_t argument);
struct ExitRoutine {
    ExitRoutineProc routine;
    intptr_t argument;
};
int32_t ExitRoutineAdd(ExitRoutineProc routine, intptr_t argument);

// The temporary-value stack: heap blocks parked for release in bulk.
constexpr int32_t TEMP_STACK_SLOTS = 1000;
int32_t TempPush(void* block);   // "Heap Stack Overflow" when full; the block is dropped
int32_t TempReleaseAll();
// Releases the n newest blocks; when fewer are parked, one "Heap Stack
// Underflow (k)" names the k missing.
int32_t TempRelease(int32_t n);
int32_t TempStackDepth();        // number of parked blocks

// The heap's handle (null without a heap), for diagnostics and tests.
void* RuntimeHeapHandle();

int32_t DebugPrint(const char* text);  // to the debugger output channel

#if defined(__i386__)
static_assert(sizeof(ExitRoutine) == 8, "ExitRoutine is two 32-bit words");
static_assert(sizeof(BlockListNode) == 12, "BlockList node is three 32-bit words");
#endif
