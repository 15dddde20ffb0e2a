// Length and copy, the string operations run per character: they scan a
// machine word at a time. An aligned word never straddles a page, so reading a
// whole word that holds the terminator cannot touch an unmapped page.
#include "rt_strings.h"

#include <emmintrin.h>

#include <cstring>

// Loops at the edges of a string stay loops: they run a few times at most,
// and their unrolled (with Clang also vectorised) copies made StrCopy and
// StrLength twice as large as their main loops.
#if defined(__clang__)
#define RT_EDGE_LOOP _Pragma("clang loop vectorize(disable) interleave(disable) unroll(disable)")
#else
#define RT_EDGE_LOOP _Pragma("GCC unroll 1")
#endif

namespace {

typedef uintptr_t __attribute__((may_alias)) AliasedWord;
constexpr uintptr_t kWordSize = sizeof(uintptr_t);
constexpr uintptr_t kLowBits = ~uintptr_t{0} / 0xFF;  // 0x0101...01
constexpr uintptr_t kHighBits = kLowBits << 7;        // 0x8080...80

// Non-zero when the word holds a zero byte; its lowest set bit marks the first.
inline uintptr_t ZeroByteMask(uintptr_t word) {
    return (word - kLowBits) & ~word & kHighBits;
}

// Index of the lowest set bit at the word's own width: a 64-bit count on
// i686 would be a library call.
inline unsigned LowestSetBit(uintptr_t word) {
    if constexpr (sizeof(uintptr_t) == 8) {
        return static_cast<unsigned>(__builtin_ctzll(word));
    } else {
        return static_cast<unsigned>(__builtin_ctz(static_cast<unsigned>(word)));
    }
}

inline bool IsAligned(const void* p) {
    return (reinterpret_cast<uintptr_t>(p) & (kWordSize - 1)) == 0;
}

const char* OrEmpty(const char* text) { return text ? text : ""; }

inline __m128i Load16(const char* s) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(s)); }
inline void Store16(char* d, __m128i value) { _mm_storeu_si128(reinterpret_cast<__m128i*>(d), value); }

// size bytes, sizeof(Piece) <= size <= 2 * sizeof(Piece), as a first and a
// last piece.
template <typename Piece>
inline void CopyTwoPieces(char* d, const char* s, size_t size) {
    Piece first;
    Piece last;
    std::memcpy(&first, s, sizeof(Piece));
    std::memcpy(&last, s + size - sizeof(Piece), sizeof(Piece));
    std::memcpy(d, &first, sizeof(Piece));
    std::memcpy(d + size - sizeof(Piece), &last, sizeof(Piece));
}

// Copies size bytes that do not overlap, without the library's copy (one
// more import for every program): 16 bytes at a time, the last piece stored
// over the one before where they meet, 32 at a time while they last; short
// sizes as two pieces likewise.
inline void CopyKnown(char* d, const char* s, size_t size) {
    if (size >= 16) {
        const char* const lastSource = s + size - 16;
        char* const lastDestination = d + size - 16;
        for (; s + 32 <= lastSource; s += 32, d += 32) {
            const __m128i a = Load16(s);
            const __m128i b = Load16(s + 16);
            Store16(d, a);
            Store16(d + 16, b);
        }
        RT_EDGE_LOOP
        for (; s < lastSource; s += 16, d += 16) Store16(d, Load16(s));
        Store16(lastDestination, Load16(lastSource));
    } else if (size >= 8) {
        CopyTwoPieces<uint64_t>(d, s, size);
    } else if (size >= 4) {
        CopyTwoPieces<uint32_t>(d, s, size);
    } else {
        RT_EDGE_LOOP
        for (size_t i = 0; i < size; ++i) d[i] = s[i];
    }
}

// The scan behind StrLength, kept inline in StrCopy, whose copies above
// their source start with it.
[[gnu::always_inline]] inline int32_t ScanLength(const char* text) {
    const char* p = text;
    RT_EDGE_LOOP
    for (; !IsAligned(p); ++p) {
        if (*p == 0) return static_cast<int32_t>(p - text);
    }
    const AliasedWord* word = reinterpret_cast<const AliasedWord*>(p);
    uintptr_t mask;
    while ((mask = ZeroByteMask(*word)) == 0) ++word;
    p = reinterpret_cast<const char*>(word) + (LowestSetBit(mask) >> 3);
    return static_cast<int32_t>(p - text);
}

}  // namespace

int32_t StrLength(const char* text) {
    // The null case out of the scan's way: laid out in front of it, it made
    // short scans a tenth slower.
    if (__builtin_expect(!text, 0)) return 0;
    return ScanLength(text);
}

char* StrCopy(char* destination, const char* source) {
    if (!destination) return destination;
    char* d = destination;
    const char* s = OrEmpty(source);
    // A forward copy is safe unless the destination starts inside the source
    // after its first byte: then it would overwrite what it has still to read
    // (the terminator, when a string is appended to itself). There it copies
    // from the end; above the source otherwise, the known length in one go.
    if (d > s) {
        const size_t size = static_cast<size_t>(ScanLength(s)) + 1;
        if (d < s + size) {
            RT_EDGE_LOOP
            for (size_t i = size; i-- > 0;) d[i] = s[i];
        } else {
            CopyKnown(d, s, size);
        }
        return destination;
    }
    // Align the source: its reads are the ones that could run into an unmapped
    // page. Stores may be unaligned; x86 handles them.
    RT_EDGE_LOOP
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
    RT_EDGE_LOOP
    while ((*d++ = *s++) != 0) {
    }
    return destination;
}
