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
    // append: a later process of the same run adds to the results, without
    // a "running" line of its own.
    WholeRunWatch(int limitSeconds, const std::string& resultsPath, bool append = false);
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
    bool append_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool running_ = false;
    bool done_ = false;
    std::string current_;
    std::chrono::steady_clock::time_point deadline_;
    std::thread watcher_;
};

// Runs the program's tests in processes of its own, one after another, each
// from the first test not yet reported: a test that times out or crashes
// ends its process, and the next process goes on with the test after it.
// Returns the program's exit status (0 when every test passed).
int SuperviseWholeRun(const std::string& resultsPath);
