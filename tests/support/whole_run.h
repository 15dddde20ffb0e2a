// Support for running all the tests of a program in one process, where
// starting a process costs seconds (32-bit Wine under emulation).
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

// Keeps, per test, the limit a separate run of that test would have: a test
// that runs longer ends the program with "[  TIMEOUT ] name". Optionally
// writes one line per event to a results file, flushed at once, so a program
// that dies part way still leaves what ran:
//   running N / ok NAME / failed NAME / timeout NAME
class WholeRunWatch : public testing::EmptyTestEventListener {
public:
    WholeRunWatch(int limitSeconds, const std::string& resultsPath);
    ~WholeRunWatch() override;
    WholeRunWatch(const WholeRunWatch&) = delete;
    WholeRunWatch& operator=(const WholeRunWatch&) = delete;

    void OnTestProgramStart(const testing::UnitTest& unitTest) override;
    void OnTestStart(const testing::TestInfo& info) override;
    void OnTestEnd(const testing::TestInfo& info) override;

private:
    void Watch();
    void Record(const char* word, const std::string& name);

    std::chrono::seconds limit_;
    std::FILE* results_ = nullptr;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool running_ = false;
    bool done_ = false;
    std::string current_;
    std::chrono::steady_clock::time_point deadline_;
    std::thread watcher_;
};
