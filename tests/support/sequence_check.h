// Comparing what a handler or window procedure saw with an expected table.
// Expected entries may be marked optional for messages the platform may or
// may not send; on mismatch both sequences are printed with the caller's file
// and line.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

template <typename Entry>
struct Expect {
    Entry entry;
    bool optional = false;
};

template <typename Entry>
Expect<Entry> Optional(const Entry& entry) {
    return Expect<Entry>{entry, true};
}

template <typename Entry>
void CheckSequence(const std::vector<Entry>& actual, const std::vector<Expect<Entry>>& expected,
                   const char* file, int line) {
    size_t a = 0;
    size_t e = 0;
    bool ok = true;
    while (e < expected.size()) {
        if (a < actual.size() && actual[a] == expected[e].entry) {
            ++a;
            ++e;
        } else if (expected[e].optional) {
            ++e;
        } else {
            ok = false;
            break;
        }
    }
    if (ok && a == actual.size()) return;
    std::ostringstream text;
    text << "sequence differs at actual entry " << a << "\n  expected:\n";
    for (const auto& x : expected) text << "    " << (x.optional ? "(optional) " : "") << Describe(x.entry) << "\n";
    text << "  actual:\n";
    for (const auto& x : actual) text << "    " << Describe(x) << "\n";
    ADD_FAILURE_AT(file, line) << text.str();
}

#define EXPECT_SEQUENCE(actual, ...) CheckSequence((actual), __VA_ARGS__, __FILE__, __LINE__)
