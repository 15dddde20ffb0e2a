// Thread-local data defined apart from the code that uses it, one of them
// with a destructor to run at each thread's end.
#include <string>

thread_local int callsOnThisThread = 0;
thread_local std::string nameOfThisThread = "unnamed";

int& CallsOnThisThread() { return callsOnThisThread; }
std::string& NameOfThisThread() { return nameOfThisThread; }
