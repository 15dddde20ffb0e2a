// StrLength and StrCopy against a plain byte loop and the C library, on
// strings of 8, 64, 1,000 and 100,000 bytes.
#include <cstring>
#include <string>

#include "bench_util.h"
#include "rt_strings.h"

namespace {

// Plain loops, kept from being turned back into library calls. GCC needs
// the attribute; Clang does not rewrite these loops and has no such option.
#if defined(__clang__)
#define RT_PLAIN_LOOP __attribute__((noinline))
#else
#define RT_PLAIN_LOOP __attribute__((noinline, optimize("no-tree-loop-distribute-patterns")))
#endif

RT_PLAIN_LOOP
size_t ByteLength(const char* text) {
    const char* p = text;
    while (*p) ++p;
    return static_cast<size_t>(p - text);
}

RT_PLAIN_LOOP
char* ByteCopy(char* destination, const char* source) {
    char* d = destination;
    while ((*d++ = *source++) != 0) {
    }
    return destination;
}

}  // namespace

struct Result {
    size_t size;
    double length, byteLength, copy, byteCopy;
};

int main() {
    std::vector<Result> results;
    std::printf("%-8s %12s %12s %12s %12s %12s %12s %8s %8s\n", "bytes", "StrLength", "byte loop",
                "strlen", "StrCopy", "byte copy", "strcpy", "len x", "copy x");
    for (const size_t size : {size_t{8}, size_t{64}, size_t{1000}, size_t{100000}}) {
        const std::string text(size, 'a');
        std::vector<char> destination(size + 16);
        const char* s = text.c_str();
        char* d = destination.data();
        const long iterations = static_cast<long>(20000000 / (size + 16)) + 10;
        const int reps = 9;
        const double strLength = MedianNsPerCall(reps, iterations, [&] { KeepAlive(StrLength(s)); });
        const double byteLength = MedianNsPerCall(reps, iterations, [&] { KeepAlive(ByteLength(s)); });
        const double libLength = MedianNsPerCall(reps, iterations, [&] {
            KeepAlive(s);
            KeepAlive(std::strlen(s));
        });
        const double strCopy = MedianNsPerCall(reps, iterations, [&] { KeepAlive(StrCopy(d, s)); });
        const double byteCopy = MedianNsPerCall(reps, iterations, [&] { KeepAlive(ByteCopy(d, s)); });
        const double libCopy = MedianNsPerCall(reps, iterations, [&] {
            KeepAlive(s);
            KeepAlive(std::strcpy(d, s));
        });
        std::printf("%-8zu %12.1f %12.1f %12.1f %12.1f %12.1f %12.1f %8.2f %8.2f\n", size, strLength,
                    byteLength, libLength, strCopy, byteCopy, libCopy, byteLength / strLength,
                    byteCopy / strCopy);
        results.push_back({size, strLength, byteLength, strCopy, byteCopy});
    }
    std::printf("(ns per call, median of 9; 'x' columns: byte loop time / runtime time)\n");
    // Printed afterwards, so that the measuring loop is the same as ever.
    for (const Result& r : results) {
        const std::string bytes = std::to_string(r.size) + " bytes";
        Row(("StrLength, " + bytes + " (vs byte loop)").c_str(), r.length, r.byteLength, "ns", "");
        Row(("StrCopy, " + bytes + " (vs byte loop)").c_str(), r.copy, r.byteCopy, "ns", "");
    }
    return 0;
}
