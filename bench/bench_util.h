// Timing helpers for the benchmarks: nanoseconds per operation, median of
// several repetitions.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// Keeps the compiler from discarding or hoisting the measured work.
template <typename T>
inline void KeepAlive(const T& value) {
    __asm__ __volatile__("" : : "r"(value) : "memory");
}

inline double NowNs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1e9 / static_cast<double>(frequency.QuadPart);
}

// The middle value (the upper one of an even count).
inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Median over `repetitions` runs of `iterations` calls of body(), in ns per call.
template <typename Body>
double MedianNsPerCall(int repetitions, long iterations, Body body) {
    std::vector<double> samples;
    for (int r = 0; r < repetitions; ++r) {
        const double start = NowNs();
        for (long i = 0; i < iterations; ++i) body();
        samples.push_back((NowNs() - start) / static_cast<double>(iterations));
    }
    return Median(samples);
}

// One row of the table cmake/bench.sh prints: a figure, the figure it is
// compared with, and the target for their ratio ("" when only reported).
inline void Row(const char* what, double figure, double baseline, const char* unit, const char* target) {
    std::printf("row\t%s\t%.6g\t%.6g\t%s\t%s\n", what, figure, baseline, unit, target);
}

// Request counting (cmake/bench.sh runs each benchmark once more with
// "count" as its argument while the Wine server traces every request): the
// body runs kCounted times between two marks, requests of this thread whose
// names the trace shows. The script divides what lies between by the count.
constexpr int kCounted = 100;

inline bool Counting(int argc, char** argv) { return argc > 1 && std::strcmp(argv[argc - 1], "count") == 0; }

template <typename Body>
void CountRequests(const char* label, Body body) {
    GetPropA(GetDesktopWindow(), (std::string("rt-begin:") + label).c_str());
    for (int i = 0; i < kCounted; ++i) body();
    GetPropA(GetDesktopWindow(), (std::string("rt-end:") + label + ":" + std::to_string(kCounted)).c_str());
}
