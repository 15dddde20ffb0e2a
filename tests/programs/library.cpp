// The parts of the C++ library that lean on the compiler's model of
// thread-local storage and on type identity: once-only calls, tasks on other
// threads, type-erased functions, typeid, and a thread_local defined in
// another file. The exit code counts what went wrong.
#include <corvantis.h>

#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <typeinfo>

int& CallsOnThisThread();  // library_counter.cpp
std::string& NameOfThisThread();

namespace {

std::string Twice(const std::string& text) { return text + text; }

}  // namespace

void ApplicationScript() {
    int wrong = 0;

    static std::once_flag once;
    int onceCalls = 0;
    for (int i = 0; i < 3; ++i) std::call_once(once, [&] { ++onceCalls; });
    wrong += onceCalls != 1;

    const std::function<std::string(const std::string&)> doubled = Twice;
    wrong += doubled("ab") != "abab";
    wrong += doubled.target_type() != typeid(&Twice);
    wrong += typeid(doubled) == typeid(int);

    // Each thread has its own count: the task's two calls leave this
    // thread's at one.
    ++CallsOnThisThread();
    std::future<int> task = std::async(std::launch::async, [] {
        NameOfThisThread() = "task";
        ++CallsOnThisThread();
        return ++CallsOnThisThread();
    });
    wrong += task.get() != 2;
    wrong += CallsOnThisThread() != 1;
    wrong += NameOfThisThread() != "unnamed";

    ExitCode = wrong;
}
