// Time from process start to the "Enter Your Name" dialog being visible, and
// the process's peak working set: the application against a baseline that
// makes the same dialog with direct Win32 calls. Both are started in turn in
// the same run, several times; medians are reported.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_util.h"

namespace {

struct Sample {
    double startMs = 0;
    double peakKb = 0;
};

bool RunOnce(const std::string& program, Sample* sample) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + program + "\"";
    const double start = NowNs();
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return false;
    }
    HWND dialog = nullptr;
    // Polled once a millisecond: a busy loop of window searches would load
    // the window manager the started program needs, slowing whichever program
    // asks it more.
    while (!dialog && NowNs() - start < 20e9) {
        HWND found = FindWindowA(nullptr, "Enter Your Name");
        if (found && IsWindowVisible(found)) {
            dialog = found;
        } else {
            Sleep(1);
        }
    }
    sample->startMs = (NowNs() - start) / 1e6;
    Sleep(100);  // its first paint is over within milliseconds; then read the peak
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(process.hProcess, &counters, sizeof(counters));
    sample->peakKb = static_cast<double>(counters.PeakWorkingSetSize) / 1024.0;
    if (dialog) PostMessageA(dialog, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return dialog != nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::printf("usage: startup_bench APPLICATION BASELINE [RUNS]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 201;
    const std::string programs[2] = {argv[1], argv[2]};
    std::vector<double> times[2];
    std::vector<double> peaks[2];
    for (int run = 0; run < runs + 1; ++run) {
        for (int p = 0; p < 2; ++p) {
            Sample sample;
            if (!RunOnce(programs[p], &sample)) {
                std::printf("%s: no dialog\n", programs[p].c_str());
                return 1;
            }
            if (run == 0) continue;  // warm-up
            times[p].push_back(sample.startMs);
            peaks[p].push_back(sample.peakKb);
        }
    }
    const double appTime = Median(times[0]);
    const double baseTime = Median(times[1]);
    const double appPeak = Median(peaks[0]);
    const double basePeak = Median(peaks[1]);
    std::printf("%-12s %14s %16s\n", "", "start to dialog", "peak working set");
    std::printf("%-12s %11.1f ms %13.0f KB\n", "application", appTime, appPeak);
    std::printf("%-12s %11.1f ms %13.0f KB\n", "baseline", baseTime, basePeak);
    std::printf("%-12s %13.3f %16.3f\n", "ratio", appTime / baseTime, appPeak / basePeak);
    // Neighbouring runs share the machine's drift; the median of their
    // ratios is a second view of the same comparison.
    std::vector<double> pairRatios;
    for (size_t i = 0; i < times[0].size(); ++i) pairRatios.push_back(times[0][i] / times[1][i]);
    std::printf("%-12s %13.3f   (median of the ratios of neighbouring runs)\n", "", Median(pairRatios));
    std::printf("(median of %d runs each, started alternately after one warm-up run)\n", runs);
    Row("start to dialog visible (vs plain Win32)", appTime, baseTime, "ms", "<= 1.02");
    Row("peak working set (vs plain Win32)", appPeak, basePeak, "KB", "<= 1.02");
    return 0;
}
