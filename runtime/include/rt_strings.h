// Zero-terminated ANSI string primitives.
//
// String results are new runtime-heap blocks owned by the caller, who releases
// them with HeapRelease. When the heap cannot supply a block those operations
// return null, and every operation here reads a null string as "" and never
// writes through a null destination, so a failed allocation degrades to an
// empty result instead of a crash.
#pragma once

#include <cstdint>

// A user string variable: 254 characters and the terminator.
constexpr int32_t STRING_VARIABLE_SIZE = 255;

int32_t StrLength(const char* text);
// Unbounded: the caller guarantees room. Returns destination. Here and in the
// rest of the family, source and destination may overlap (a string appended
// to itself): the result is that of copying through a temporary.
char* StrCopy(char* destination, const char* source);
// Copies at most size - 1 characters and always terminates (size > 0).
char* StrCopyBounded(char* destination, const char* source, int32_t size);
// Assignment to a string variable: copies at most 254 characters into the
// 255-byte variable, then releases the heap string. Returns the variable.
char* StrAssign(char* variable, char* heapString);
char* StrAppend(char* destination, const char* source);

char* StrDuplicate(const char* source);
char* StrConcatList(const char* const* parts, int32_t count);
template <typename... Rest>
char* StrConcat(const char* first, Rest... rest) {
    const char* const parts[] = {first, rest...};
    return StrConcatList(parts, static_cast<int32_t>(1 + sizeof...(rest)));
}
// An upper-case copy, mapped as CharUpperA maps in the program's code page
// (UTF-8 with the default manifest: letters of any language; a byte that is
// not valid UTF-8 may take the one after it with it).
char* StrUpperDuplicate(const char* source);

// 1-based position of the first match at or after start (0 counts as 1), or 0.
// Starts beyond the text, including those of 2^31 and more, give 0.
uint32_t StrFind(const char* text, const char* pattern, uint32_t start);
