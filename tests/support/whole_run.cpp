#include "whole_run.h"

#include <windows.h>

#include <fstream>
#include <set>
#include <vector>

namespace {

std::string FullName(const testing::TestInfo& info) {
    return std::string(info.test_suite_name()) + "." + info.name();
}

}  // namespace

WholeRunWatch::WholeRunWatch(int limitSeconds, const std::string& resultsPath, bool append)
    : limit_(limitSeconds), append_(append) {
    if (!resultsPath.empty()) results_ = std::fopen(resultsPath.c_str(), append ? "ab" : "wb");
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
    if (!append_) Record("running", std::to_string(unitTest.test_to_run_count()));
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

namespace {

// The tests the results file reports, whatever their outcome.
std::set<std::string> Reported(const std::string& resultsPath) {
    std::set<std::string> reported;
    std::ifstream file(resultsPath);
    std::string word;
    std::string name;
    while (file >> word >> name) {
        if (word == "ok" || word == "failed" || word == "timeout") reported.insert(name);
    }
    return reported;
}

DWORD RunChild(const std::string& filter) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string commandLine = std::string("\"") + path + "\" --gtest_filter=" + filter;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(path, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        return 1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return code;
}

}  // namespace

int SuperviseWholeRun(const std::string& resultsPath) {
    std::vector<std::string> planned;
    const testing::UnitTest& unit = *testing::UnitTest::GetInstance();
    for (int i = 0; i < unit.total_test_suite_count(); ++i) {
        const testing::TestSuite& suite = *unit.GetTestSuite(i);
        for (int j = 0; j < suite.total_test_count(); ++j) {
            const std::string name = FullName(*suite.GetTestInfo(j));
            // Disabled tests do not run, in a whole run as in any other.
            if (name.rfind("DISABLED_", 0) != 0 && name.find(".DISABLED_") == std::string::npos) {
                planned.push_back(name);
            }
        }
    }
    if (std::FILE* results = std::fopen(resultsPath.c_str(), "wb")) {
        std::fprintf(results, "running %zu\n", planned.size());
        std::fclose(results);
    }
    SetEnvironmentVariableA("RT_TEST_CHILD", "1");
    int status = 0;
    size_t next = 0;
    while (next < planned.size()) {
        std::string filter;
        for (size_t i = next; i < planned.size(); ++i) filter += (i > next ? ":" : "") + planned[i];
        if (RunChild(filter) != 0) status = 1;
        const std::set<std::string> reported = Reported(resultsPath);
        const size_t before = next;
        while (next < planned.size() && reported.count(planned[next])) ++next;
        if (next < planned.size() && next == before) {
            // Ended without a word on the test it was running: it crashed.
            std::printf("[  FAILED  ] %s: the process ended during the test\n", planned[next].c_str());
            std::fflush(stdout);
            if (std::FILE* results = std::fopen(resultsPath.c_str(), "ab")) {
                std::fprintf(results, "failed %s\n", planned[next].c_str());
                std::fclose(results);
            }
            status = 1;
            ++next;
        }
    }
    return status;
}
