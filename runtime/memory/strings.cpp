// String operations built on length and copy: bounded copies, assignment to
// string variables, and the operations that return new heap strings.
#include "rt_strings.h"

#include <windows.h>

#include <cstring>

#include "rt_memory.h"

namespace {

const char* OrEmpty(const char* text) { return text ? text : ""; }

}  // namespace

char* StrCopyBounded(char* destination, const char* source, int32_t size) {
    if (!destination || size <= 0) return destination;
    const char* s = OrEmpty(source);
    int32_t n = 0;
    while (n < size - 1 && s[n] != 0) ++n;
    // The source may lie in the destination: then it is copied from the end.
    if (destination > s && destination < s + n) {
        for (int32_t i = n; i-- > 0;) destination[i] = s[i];
    } else {
        std::memcpy(destination, s, static_cast<size_t>(n));
    }
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
