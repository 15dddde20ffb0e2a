#include "whole_run.h"

#include <windows.h>

namespace {

std::string FullName(const testing::TestInfo& info) {
    return std::string(info.test_suite_name()) + "." + info.name();
}

}  // namespace

WholeRunWatch::WholeRunWatch(int limitSeconds, const std::string& resultsPath)
    : limit_(limitSeconds) {
    if (!resultsPath.empty()) results_ = std::fopen(resultsPath.c_str(), "wb");
    if (limitSeconds > 0) watcher_ = std::thread([this] { Watch(); });
}

WholeRunWatch::~WholeRunWatch() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        done_ = true;
    }
    changed_.notify_all();
    if (watcher_.joinable()) watcher_.join();
    if (results_) std::fclose(results_);
}

void WholeRunWatch::Record(const char* word, const std::string& name) {
    if (!results_) return;
    std::fprintf(results_, "%s %s\n", word, name.c_str());
    std::fflush(results_);
}

void WholeRunWatch::OnTestProgramStart(const testing::UnitTest& unitTest) {
    Record("running", std::to_string(unitTest.test_to_run_count()));
}

void WholeRunWatch::OnTestStart(const testing::TestInfo& info) {
    std::lock_guard<std::mutex> lock(mutex_);
    current_ = FullName(info);
    deadline_ = std::chrono::steady_clock::now() + limit_;
    running_ = true;
    changed_.notify_all();
}

void WholeRunWatch::OnTestEnd(const testing::TestInfo& info) {
    std::lock_guard<std::mutex> lock(mutex_);
    running_ = false;
    Record(info.result()->Passed() || info.result()->Skipped() ? "ok" : "failed", FullName(info));
}

void WholeRunWatch::Watch() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!done_) {
        if (!running_) {
            changed_.wait(lock);
            continue;
        }
        const auto deadline = deadline_;
        if (changed_.wait_until(lock, deadline) == std::cv_status::timeout && running_ &&
            deadline_ == deadline) {
            std::printf("[  TIMEOUT ] %s: still running after %lld s\n", current_.c_str(),
                        static_cast<long long>(limit_.count()));
            std::fflush(stdout);
            Record("timeout", current_);
            // The test's thread may hold any lock; nothing of this process
            // is trusted to run again.
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }
}
