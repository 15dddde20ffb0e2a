// Global blocks and block lists.
#include <gtest/gtest.h>

#include <cstdlib>
#include <list>

#include "rt_memory.h"
#include "test_support.h"

namespace {

bool AllZero(const void* block, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(block);
    for (size_t i = 0; i < size; ++i) {
        if (bytes[i] != 0) return false;
    }
    return true;
}

TEST(GlobalBlocks, SizeFollowsTypeCodeAndBlocksAreZeroed) {
    struct Row {
        int32_t type, count;
        SIZE_T bytes;
    };
    const Row rows[] = {
        {0, 2, 510}, {1, 5, 5}, {15, 300, 300}, {13, 3, 6}, {14, 2, 16},
        {17, 1, 8},  {18, 3, 24}, {99, 3, 12}, {2, 1, 4}, {-1, 2, 8},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.type);
        void* block = GlobalBlockAlloc(row.type, row.count);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(GlobalSize(GlobalHandle(block)), row.bytes);
        EXPECT_TRUE(AllZero(block, row.bytes));
        EXPECT_EQ(GlobalBlockFree(block), 0);
    }
}

TEST(GlobalBlocks, RefusesEmptyNegativeAndWrappingSizes) {
    EXPECT_EQ(GlobalBlockAlloc(15, 0), nullptr);
    EXPECT_EQ(GlobalBlockAlloc(15, -4), nullptr);
    // 0x7FFFFFFF strings of 255 bytes do not fit any address space here.
    EXPECT_EQ(GlobalBlockAlloc(0, 0x7FFFFFFF), nullptr);
    EXPECT_EQ(GlobalBlockFree(nullptr), 0);
}

TEST(GlobalBlocks, ArrayAllocationReportsThroughOutReference) {
    void* block = reinterpret_cast<void*>(0xDEADBEEF);
    EXPECT_EQ(GlobalArrayAlloc(&block, 10, 1), 0);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(GlobalHandle(block)), 10u);
    EXPECT_TRUE(AllZero(block, 10));
    EXPECT_EQ(GlobalArrayFree(block), 0);

    block = reinterpret_cast<void*>(0xDEADBEEF);
    EXPECT_EQ(GlobalArrayAlloc(&block, 0, 1), -1);
    EXPECT_EQ(block, nullptr);
    EXPECT_EQ(GlobalArrayAlloc(nullptr, 10, 1), -1);
}

// Walks a list both ways and checks every link against its neighbour.
std::vector<uintptr_t> CheckedContents(const BlockListNode* head) {
    std::vector<uintptr_t> contents;
    EXPECT_EQ(head->prev, nullptr);
    EXPECT_EQ(head->data, 0u);
    const BlockListNode* previous = head;
    for (const BlockListNode* node = ListFirst(head); node; node = ListNext(node)) {
        EXPECT_EQ(node->prev, previous);
        contents.push_back(ListData(node));
        previous = node;
    }
    return contents;
}

TEST(BlockList, InsertFirstAndAppendOrder) {
    BlockListNode* head = ListCreate();
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(ListFirst(head), nullptr);
    EXPECT_EQ(ListInsertFirst(head, 0xA), 0xAu);
    EXPECT_EQ(ListInsertFirst(head, 0xB), 0xBu);
    EXPECT_EQ(CheckedContents(head), (std::vector<uintptr_t>{0xB, 0xA}));
    EXPECT_EQ(ListNext(ListNext(ListFirst(head))), nullptr);
    ListDestroy(head, 0);

    head = ListCreate();
    EXPECT_EQ(ListAppend(head, 0xA), 0xAu);
    EXPECT_EQ(ListAppend(head, 0xB), 0xBu);
    EXPECT_EQ(CheckedContents(head), (std::vector<uintptr_t>{0xA, 0xB}));
    ListDestroy(head, 0);
}

TEST(BlockList, NullArgumentsAreIgnored) {
    EXPECT_EQ(ListAppend(nullptr, 5), 5u);
    EXPECT_EQ(ListInsertFirst(nullptr, 6), 6u);
    EXPECT_EQ(ListRemove(nullptr, 1), nullptr);
    EXPECT_EQ(ListDestroy(nullptr, 1), 0);
    EXPECT_EQ(ListFirst(nullptr), nullptr);
    EXPECT_EQ(ListNext(nullptr), nullptr);
    EXPECT_EQ(ListData(nullptr), 0u);
}

TEST(BlockList, RemovingTheOnlyNodeEmptiesTheList) {
    BlockListNode* head = ListCreate();
    ListAppend(head, 1);
    EXPECT_EQ(ListRemove(ListFirst(head), 0), nullptr);
    EXPECT_EQ(head->next, nullptr);
    // The head itself is refused: removing it would orphan the list.
    ListAppend(head, 2);
    EXPECT_EQ(ListRemove(head, 0), nullptr);
    EXPECT_EQ(CheckedContents(head), (std::vector<uintptr_t>{2}));
    ListDestroy(head, 0);
}

TEST(BlockList, DestroyFreesDataBlocksOnlyWithTheFlag) {
    const int before = LiveGlobalBlocks();
    for (int32_t flag : {0, 1}) {
        BlockListNode* head = ListCreate();
        void* blocks[3];
        for (void*& block : blocks) {
            block = GlobalBlockAlloc(15, 16);
            ListAppend(head, reinterpret_cast<uintptr_t>(block));
        }
        ListAppend(head, 0);  // a node without data
        ListDestroy(head, flag);
        EXPECT_EQ(LiveGlobalBlocks() - before, flag ? 0 : 3) << "flag " << flag;
        if (!flag) {
            for (void* block : blocks) GlobalBlockFree(block);
        }
    }
    EXPECT_EQ(LiveGlobalBlocks(), before);
}

TEST(BlockList, RemoveWithDataFlagFreesTheDataBlock) {
    const int before = LiveGlobalBlocks();
    BlockListNode* head = ListCreate();
    ListAppend(head, reinterpret_cast<uintptr_t>(GlobalBlockAlloc(15, 8)));
    ListAppend(head, 7);
    EXPECT_EQ(ListData(ListRemove(ListFirst(head), 1)), 7u);
    EXPECT_EQ(LiveGlobalBlocks() - before, 2);  // head and the node of 7
    ListDestroy(head, 0);
    EXPECT_EQ(LiveGlobalBlocks(), before);
}

// Random operations against a std::list, with the link invariants checked
// after each one.
TEST(BlockList, RandomOperationsMatchReferenceModel) {
    srand(12345);
    BlockListNode* head = ListCreate();
    std::list<uintptr_t> model;
    for (int step = 0; step < 2000; ++step) {
        const uintptr_t value = static_cast<uintptr_t>(step + 1);
        switch (rand() % 3) {
            case 0:
                ListAppend(head, value);
                model.push_back(value);
                break;
            case 1:
                ListInsertFirst(head, value);
                model.push_front(value);
                break;
            default: {
                if (model.empty()) break;
                const size_t index = static_cast<size_t>(rand()) % model.size();
                BlockListNode* node = ListFirst(head);
                auto it = model.begin();
                for (size_t i = 0; i < index; ++i, ++it) node = ListNext(node);
                BlockListNode* expectedNext = ListNext(node);
                EXPECT_EQ(ListRemove(node, 0), expectedNext);
                model.erase(it);
            }
        }
        if (step % 97 == 0) {
            ASSERT_EQ(CheckedContents(head), std::vector<uintptr_t>(model.begin(), model.end()));
        }
    }
    ASSERT_EQ(CheckedContents(head), std::vector<uintptr_t>(model.begin(), model.end()));
    ListDestroy(head, 0);
}

}  // namespace

namespace {

HGLOBAL WINAPI RefuseGlobalAlloc(UINT, SIZE_T) { return nullptr; }

TEST(BlockList, StaysIntactWhenNoNodeCanBeAllocated) {
    BlockListNode* head = ListCreate();
    ListAppend(head, 1);
    ListAppend(head, 2);
    {
        ScopedImportHook refuse("kernel32.dll", "GlobalAlloc", reinterpret_cast<void*>(RefuseGlobalAlloc));
        ASSERT_TRUE(refuse.Installed());
        EXPECT_EQ(GlobalBlockAlloc(15, 4), nullptr);
        EXPECT_EQ(ListCreate(), nullptr);
        EXPECT_EQ(ListAppend(head, 3), 3u);
        EXPECT_EQ(ListInsertFirst(head, 4), 4u);
        void* out = reinterpret_cast<void*>(0xDEADBEEF);
        EXPECT_EQ(GlobalArrayAlloc(&out, 4, 4), -1);
        EXPECT_EQ(out, nullptr);
    }
    EXPECT_EQ(CheckedContents(head), (std::vector<uintptr_t>{1, 2}));
    ListDestroy(head, 0);
}

}  // namespace
