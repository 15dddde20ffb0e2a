// String primitives. Length and copy scan a machine word at a time: an aligned
// word never straddles a page, so reading a whole word that holds the
// terminator cannot touch an unmapped page.
#include "rt_strings.h"

#include <windows.h>

#include <cstring>

#include "rt_memory.h"

namespace {

typedef uintptr_t __attribute__((may_alias)) AliasedWord;
constexpr uintptr_t kWordSize = sizeof(uintptr_t);
constexpr uintptr_t kLowBits = ~uintptr_t{0} / 0xFF;  // 0x0101...01
constexpr uintptr_t kHighBits = kLowBits << 7;        // 0x8080...80

// Non-zero when the word holds a zero byte; its lowest set bit marks the first.
inline uintptr_t ZeroByteMask(uintptr_t word) {
    return (word - kLowBits) & ~word & kHighBits;
}

inline bool IsAligned(const void* p) {
    return (reinterpret_cast<uintptr_t>(p) & (kWordSize - 1)) == 0;
}

const char* OrEmpty(const char* text) { return text ? text : ""; }

}  // namespace

int32_t StrLength(const char* text) {
    if (!text) return 0;
    const char* p = text;
    for (; !IsAligned(p); ++p) {
        if (*p == 0) return static_cast<int32_t>(p - text);
    }
    const AliasedWord* word = reinterpret_cast<const AliasedWord*>(p);
    uintptr_t mask;
    while ((mask = ZeroByteMask(*word)) == 0) ++word;
    p = reinterpret_cast<const char*>(word) + (__builtin_ctzll(mask) >> 3);
    return static_cast<int32_t>(p - text);
}

char* StrCopy(char* destination, const char* source) {
    if (!destination) return destination;
    char* d = destination;
    const char* s = OrEmpty(source);
    // Align the source: its reads are the ones that could run into an unmapped
    // page. Stores may be unaligned; x86 handles them.
    for (; !IsAligned(s); ++s, ++d) {
        if ((*d = *s) == 0) return destination;
    }
    for (;;) {
        const uintptr_t word = *reinterpret_cast<const AliasedWord*>(s);
        if (ZeroByteMask(word)) break;
        std::memcpy(d, &word, kWordSize);
        s += kWordSize;
        d += kWordSize;
    }
    // The word holding the terminator: bytes up to it, nothing beyond.
    while ((*d++ = *s++) != 0) {
    }
    return destination;
}

char* StrCopyBounded(char* destination, const char* source, int32_t size) {
    if (!destination || size <= 0) return destination;
    const char* s = OrEmpty(source);
    int32_t n = 0;
    while (n < size - 1 && s[n] != 0) ++n;
    std::memcpy(destination, s, static_cast<size_t>(n));
    destination[n] = 0;
    return destination;
}

char* StrAssign(char* variable, char* heapString) {
    StrCopyBounded(variable, heapString, STRING_VARIABLE_SIZE);
    HeapRelease(heapString);
    return variable;
}

char* StrAppend(char* destination, const char* source) {
    if (!destination) return destination;
    StrCopy(destination + StrLength(destination), source);
    return destination;
}

char* StrDuplicate(const char* source) {
    char* block = static_cast<char*>(HeapAllocate(StrLength(source) + 1));
    return block ? StrCopy(block, source) : nullptr;
}

char* StrConcatList(const char* const* parts, int32_t count) {
    if (!parts || count <= 0) return StrDuplicate("");
    int64_t total = 0;
    for (int32_t i = 0; i < count; ++i) total += StrLength(parts[i]);
    if (total + 1 > INT32_MAX - 3) return nullptr;
    char* block = static_cast<char*>(HeapAllocate(static_cast<int32_t>(total + 1)));
    if (!block) return nullptr;
    // Each part goes at the running end, so joining stays linear.
    char* end = block;
    for (int32_t i = 0; i < count; ++i) {
        StrCopy(end, parts[i]);
        end += StrLength(parts[i]);
    }
    return block;
}

char* StrUpperDuplicate(const char* source) {
    char* block = StrDuplicate(source);
    if (block) CharUpperA(block);
    return block;
}

uint32_t StrFind(const char* text, const char* pattern, uint32_t start) {
    if (!text || !pattern) return 0;
    if (start == 0) start = 1;
    // Starts of 2^31 and more are negative positions seen as unsigned.
    if (start > static_cast<uint32_t>(INT32_MAX)) return 0;
    if (start > 1 && static_cast<uint32_t>(StrLength(text)) < start) return 0;
    const char* from = text + (start - 1);
    if (*pattern == 0 || *from == 0) return 0;
    for (const char* p = from; *p != 0; ++p) {
        const char* a = p;
        const char* b = pattern;
        while (*a != 0 && *b != 0 && *a == *b) {
            ++a;
            ++b;
        }
        if (*b == 0) return static_cast<uint32_t>(p - text + 1);
    }
    return 0;
}
