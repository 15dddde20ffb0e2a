// String primitives.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "rt_memory.h"
#include "rt_strings.h"
#include "test_support.h"

namespace {

class StringsTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(HeapStart(), 1); }
    void TearDown() override { HeapShutdown(); }
    static SIZE_T BlockSize(const void* block) { return HeapSize(RuntimeHeapHandle(), 0, block); }
};

// A text placed so that its terminator is the last byte before a page that
// must not be touched.
class GuardedPage {
public:
    GuardedPage() {
        base_ = static_cast<char*>(VirtualAlloc(nullptr, 2 * kPage, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(base_ + kPage, kPage, PAGE_NOACCESS, &old);
    }
    ~GuardedPage() { VirtualFree(base_, 0, MEM_RELEASE); }
    // Room for size bytes ending exactly at the protected page.
    char* End(size_t size) const { return base_ + kPage - size; }
    char* Place(const std::string& text) const {
        char* p = End(text.size() + 1);
        std::memcpy(p, text.c_str(), text.size() + 1);
        return p;
    }
    static constexpr size_t kPage = 4096;
private:
    char* base_;
};

TEST_F(StringsTest, LengthAndCopyAtEveryAlignmentStopAtTheTerminator) {
    alignas(16) char source[96];
    alignas(16) char destination[96];
    for (size_t sourceOffset = 0; sourceOffset < 8; ++sourceOffset) {
        for (size_t destinationOffset = 0; destinationOffset < 8; ++destinationOffset) {
            for (size_t length = 0; length < 40; ++length) {
                std::memset(source, 'x', sizeof(source));
                std::memset(destination, '#', sizeof(destination));
                char* s = source + sourceOffset;
                for (size_t i = 0; i < length; ++i) s[i] = static_cast<char>('a' + i % 26);
                s[length] = 0;
                char* d = destination + destinationOffset;
                ASSERT_EQ(StrLength(s), static_cast<int32_t>(length));
                ASSERT_EQ(StrCopy(d, s), d);
                ASSERT_STREQ(d, s);
                // Not one byte written past the terminator.
                for (char* p = d + length + 1; p < destination + sizeof(destination); ++p) {
                    ASSERT_EQ(*p, '#') << sourceOffset << " " << destinationOffset << " " << length;
                }
                for (char* p = destination; p < d; ++p) ASSERT_EQ(*p, '#');
            }
        }
    }
}

// Source and destination in one buffer: the result is what copying through a
// temporary gives (memmove), and not one other byte changes.
TEST_F(StringsTest, OverlappingCopiesAreCopiesThroughATemporary) {
    for (int shift = -9; shift <= 9; ++shift) {
        for (size_t length = 0; length < 40; ++length) {
            for (int bounded = 0; bounded < 2; ++bounded) {
                char buffer[128];
                for (size_t i = 0; i < sizeof(buffer); ++i) buffer[i] = static_cast<char>('A' + i % 23);
                char* s = buffer + 40;
                s[length] = 0;
                char expected[128];
                std::memcpy(expected, buffer, sizeof(buffer));
                std::memmove(expected + 40 + shift, expected + 40, length + 1);
                if (bounded) {
                    StrCopyBounded(s + shift, s, 64);
                } else {
                    StrCopy(s + shift, s);
                }
                ASSERT_EQ(std::memcmp(buffer, expected, sizeof(buffer)), 0)
                    << "shift " << shift << ", length " << length << ", bounded " << bounded;
            }
        }
    }
    char text[32] = "abc";
    EXPECT_STREQ(StrAppend(text, text), "abcabc");
    EXPECT_STREQ(StrAppend(text, text + 4), "abcabcbc");
}

TEST_F(StringsTest, NeverReadOrWriteIntoTheFollowingPage) {
    GuardedPage sourcePage;
    GuardedPage destinationPage;
    for (size_t length = 0; length < 24; ++length) {
        const std::string text(length, 'q');
        // Every alignment of the terminator against the page end, as the page
        // end is always aligned.
        const char* s = sourcePage.Place(text);
        EXPECT_EQ(StrLength(s), static_cast<int32_t>(length));
        char* copy = StrDuplicate(s);
        EXPECT_EQ(std::string(copy), text);
        HeapRelease(copy);
        for (size_t shift = 0; shift < 8; ++shift) {
            // Source shifted back from the page end; destination exactly full.
            const char* shifted = sourcePage.Place(text + std::string(shift, 0));
            char* d = destinationPage.End(length + 1);
            StrCopy(d, shifted);
            EXPECT_EQ(std::string(d), text);
        }
    }
}

TEST_F(StringsTest, AppendDuplicateConcatAndUpper) {
    char buffer[16] = "a";
    EXPECT_EQ(StrAppend(buffer, "b"), buffer);
    EXPECT_STREQ(buffer, "ab");

    char* duplicate = StrDuplicate("");
    ASSERT_NE(duplicate, nullptr);
    EXPECT_STREQ(duplicate, "");
    EXPECT_EQ(BlockSize(duplicate), 4u);
    HeapRelease(duplicate);

    char* joined = StrConcat("Your name is ", "abc");
    ASSERT_NE(joined, nullptr);
    EXPECT_STREQ(joined, "Your name is abc");
    EXPECT_EQ(BlockSize(joined), 17u + 3u);
    for (int i = 16; i < 20; ++i) EXPECT_EQ(joined[i], 0) << i;
    HeapRelease(joined);

    const char* original = "alone";
    char* single = StrConcat(original);
    EXPECT_NE(single, original);
    EXPECT_STREQ(single, "alone");
    HeapRelease(single);

    char* many = StrConcat("a", "", "bc", "def", "");
    EXPECT_STREQ(many, "abcdef");
    HeapRelease(many);

    char* upper = StrUpperDuplicate("msctls_statusbar32");
    EXPECT_STREQ(upper, "MSCTLS_STATUSBAR32");
    HeapRelease(upper);
}

TEST_F(StringsTest, AssignmentToAStringVariableIsBounded) {
    struct {
        char variable[STRING_VARIABLE_SIZE];
        char guard[8];
    } storage;
    std::memset(&storage, '#', sizeof(storage));
    const std::string longText(300, 'n');
    EXPECT_EQ(StrAssign(storage.variable, StrDuplicate(longText.c_str())), storage.variable);
    EXPECT_EQ(StrLength(storage.variable), 254);
    EXPECT_EQ(std::string(storage.guard, 8), "########");

    StrAssign(storage.variable, StrDuplicate("short"));
    EXPECT_STREQ(storage.variable, "short");

    char small[4];
    StrCopyBounded(small, "abcdef", sizeof(small));
    EXPECT_STREQ(small, "abc");
    EXPECT_EQ(StrCopyBounded(small, "x", 0), small);
}

TEST_F(StringsTest, AssignedHeapStringsAreReleased) {
    char variable[STRING_VARIABLE_SIZE];
    const int before = BusyHeapBlocks(RuntimeHeapHandle());
    for (int i = 0; i < 50; ++i) StrAssign(variable, StrConcat("Your name is ", "abc", "."));
    EXPECT_STREQ(variable, "Your name is abc.");
    EXPECT_EQ(BusyHeapBlocks(RuntimeHeapHandle()), before);
}

TEST_F(StringsTest, NullStringsReadAsEmptyAndAreNeverWritten) {
    EXPECT_EQ(StrLength(nullptr), 0);
    EXPECT_EQ(StrCopy(nullptr, "abc"), nullptr);
    EXPECT_EQ(StrAppend(nullptr, "abc"), nullptr);
    char buffer[8] = "zz";
    EXPECT_STREQ(StrCopy(buffer, nullptr), "");
    StrCopy(buffer, "a");
    EXPECT_STREQ(StrAppend(buffer, nullptr), "a");
    char* duplicate = StrDuplicate(nullptr);
    EXPECT_STREQ(duplicate, "");
    HeapRelease(duplicate);
    char* joined = StrConcat("a", static_cast<const char*>(nullptr), "b");
    EXPECT_STREQ(joined, "ab");
    HeapRelease(joined);
    EXPECT_EQ(StrFind(nullptr, "a", 1), 0u);
    EXPECT_EQ(StrFind("a", nullptr, 1), 0u);
}

LPVOID WINAPI RefuseHeapAlloc(HANDLE, DWORD, SIZE_T) { return nullptr; }

TEST_F(StringsTest, FailedAllocationsGiveNullAndAssignEmpty) {
    char variable[STRING_VARIABLE_SIZE] = "previous";
    ScopedImportHook refuse("kernel32.dll", "HeapAlloc", reinterpret_cast<void*>(RefuseHeapAlloc));
    ASSERT_TRUE(refuse.Installed());
    EXPECT_EQ(StrDuplicate("abc"), nullptr);
    EXPECT_EQ(StrConcat("a", "b"), nullptr);
    EXPECT_EQ(StrUpperDuplicate("a"), nullptr);
    StrAssign(variable, StrConcat("Your name is ", "abc"));
    EXPECT_STREQ(variable, "");
}

TEST(StringFind, Positions) {
    struct Row {
        const char* text;
        const char* pattern;
        uint32_t start;
        uint32_t expected;
    };
    const Row rows[] = {
        {"abc", "c", 3, 3},        {"abc", "c", 4, 0},      {"abc", "c", 0, 3},
        {"abc", "", 1, 0},         {"", "abc", 1, 0},       {"abcbc", "bc", 3, 4},
        {"abcbc", "bc", 1, 2},     {"abc", "abcd", 1, 0},   {"aaab", "aab", 1, 2},
        {"abc", "C", 1, 0},        {"abc", "a", 0x80000000u, 0}, {"abc", "a", 0xFFFFFFFFu, 0},
        {"abc", "abc", 1, 1},      {"abc", "c", 2, 3},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(StrFind(row.text, row.pattern, row.start), row.expected)
            << '"' << row.pattern << "\" in \"" << row.text << "\" from " << row.start;
    }
}

TEST(StringFind, AgreesWithStdStringOnRandomTexts) {
    srand(99);
    for (int round = 0; round < 3000; ++round) {
        std::string text, pattern;
        const int textLength = rand() % 12;
        const int patternLength = 1 + rand() % 3;
        for (int i = 0; i < textLength; ++i) text += static_cast<char>('a' + rand() % 3);
        for (int i = 0; i < patternLength; ++i) pattern += static_cast<char>('a' + rand() % 3);
        const uint32_t start = 1 + static_cast<uint32_t>(rand() % (textLength + 1));
        const size_t found = text.find(pattern, start - 1);
        const uint32_t expected = found == std::string::npos ? 0 : static_cast<uint32_t>(found + 1);
        ASSERT_EQ(StrFind(text.c_str(), pattern.c_str(), start), expected)
            << pattern << " in " << text << " from " << start;
    }
}

}  // namespace
