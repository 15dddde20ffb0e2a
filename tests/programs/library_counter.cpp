// A thread_local defined apart from the code that uses it.
thread_local int callsOnThisThread = 0;

int& CallsOnThisThread() { return callsOnThisThread; }
