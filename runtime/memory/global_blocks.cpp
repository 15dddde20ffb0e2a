// Global-memory blocks and the doubly linked block lists built on them.
#include "rt_memory.h"

#include <windows.h>

namespace {

SIZE_T ElementSize(int32_t typeCode) {
    switch (typeCode) {
        case BLOCK_STRING: return 255;
        case BLOCK_TEXT:
        case BLOCK_RECORD: return 1;
        case BLOCK_INT16: return 2;
        case BLOCK_INT64:
        case 17:
        case 18: return 8;
        default: return 4;
    }
}

// Returns null for counts that are not positive or sizes the address space
// cannot hold, instead of letting a wrapped product allocate a short block.
void* AllocateZeroed(int32_t count, SIZE_T elementSize) {
    if (count <= 0 || elementSize == 0) return nullptr;
    const unsigned long long bytes = static_cast<unsigned long long>(count) * elementSize;
    if (bytes > static_cast<SIZE_T>(-1)) return nullptr;
    return reinterpret_cast<void*>(GlobalAlloc(GPTR, static_cast<SIZE_T>(bytes)));
}

// Where the list last appended to ends: a list built by appending would be
// walked once per node. Forgotten when a node is removed or a list destroyed.
struct ListTail {
    const BlockListNode* head;
    BlockListNode* last;
};
ListTail listTail;

BlockListNode* NewNode() {
    return static_cast<BlockListNode*>(GlobalBlockAlloc(BLOCK_RECORD, sizeof(BlockListNode)));
}

}  // namespace

void* GlobalBlockAlloc(int32_t typeCode, int32_t count) {
    return AllocateZeroed(count, ElementSize(typeCode));
}

int32_t GlobalBlockFree(void* block) {
    if (block) GlobalFree(reinterpret_cast<HGLOBAL>(block));
    return 0;
}

int32_t GlobalArrayAlloc(void** out, int32_t count, int32_t elementSize) {
    if (!out) return -1;
    *out = elementSize > 0 ? AllocateZeroed(count, static_cast<SIZE_T>(elementSize)) : nullptr;
    return *out ? 0 : -1;
}

int32_t GlobalArrayFree(void* block) {
    return GlobalBlockFree(block);
}

BlockListNode* ListCreate() {
    return NewNode();
}

uintptr_t ListAppend(BlockListNode* head, uintptr_t data) {
    if (!head) return data;
    BlockListNode* last = listTail.head == head ? listTail.last : head;
    while (last->next) last = last->next;
    BlockListNode* node = NewNode();
    if (!node) return data;
    last->next = node;
    node->prev = last;
    node->data = data;
    listTail = ListTail{head, node};
    return data;
}

uintptr_t ListInsertFirst(BlockListNode* head, uintptr_t data) {
    if (!head) return data;
    BlockListNode* node = NewNode();
    if (!node) return data;
    BlockListNode* const old = head->next;
    head->next = node;
    if (old) {
        node->next = old;
        old->prev = node;
    }
    node->prev = head;
    node->data = data;
    return data;
}

BlockListNode* ListRemove(BlockListNode* node, int32_t freeData) {
    // A head has no predecessor; unlinking it would orphan the whole list.
    if (!node || !node->prev) return nullptr;
    listTail = ListTail{};
    BlockListNode* const prev = node->prev;
    BlockListNode* const next = node->next;
    if (freeData) GlobalBlockFree(reinterpret_cast<void*>(node->data));
    prev->next = next;
    if (next) next->prev = prev;
    GlobalBlockFree(node);
    return next;
}

int32_t ListDestroy(BlockListNode* head, int32_t freeData) {
    listTail = ListTail{};
    for (BlockListNode* node = head; node;) {
        BlockListNode* const next = node->next;
        if (node->data && (freeData & 1)) GlobalBlockFree(reinterpret_cast<void*>(node->data));
        GlobalBlockFree(node);
        node = next;
    }
    return 0;
}

BlockListNode* ListFirst(const BlockListNode* head) { return head ? head->next : nullptr; }
BlockListNode* ListNext(const BlockListNode* node) { return node ? node->next : nullptr; }
uintptr_t ListData(const BlockListNode* node) { return node ? node->data : 0; }
