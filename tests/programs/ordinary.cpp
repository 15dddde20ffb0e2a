// An ordinary C++ program on the runtime: global objects, a static local,
// containers, formatted output to a file, exceptions inside the script and
// inside an event handler, texts in any language, and END from a handler.
// What it saw goes to ordinary.txt beside the executable, written by a
// global object's destructor at END; the exit code is 7.

// Data of a system DLL, declared as a program that does not know it is
// imported does (ahead of the headers, which would name it otherwise): the
// linker reaches it through a place that start-up patches.
extern "C" double _HUGE;
static double ImportedData() { return _HUGE; }

#include <corvantis.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<std::string> seen;

std::string TracePath() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string result(path, length);
    return result.substr(0, result.rfind('.')) + ".txt";
}

// Constructed before the script, destroyed once at END: writes the trace.
struct Witness {
    int value = 0;
    Witness() {
        value = 42;
        seen.push_back("constructed " + std::to_string(value));
    }
    ~Witness() {
        seen.push_back(HeapAllocate(4) ? "runtime heap alive" : "runtime heap gone");
        if (FILE* file = std::fopen(TracePath().c_str(), "a")) {
            for (const std::string& line : seen) std::fprintf(file, "%s\n", line.c_str());
            std::fprintf(file, "destroyed %d\n", value);
            std::fclose(file);
        }
    }
} witness;

int NextTicket() {
    static int ticket = [] {
        seen.push_back("static local initialised");
        return 100;
    }();
    return ++ticket;
}

WindowRecord dialog;

void Risky(const char* what) { throw std::runtime_error(what); }

int32_t Handler() {
    if (EventMessage == WM_INITDIALOG) {
        // Defined in UTF-8, read back as UTF-16: the template and the
        // controls carried the text unchanged.
        wchar_t title[32] = L"";
        wchar_t label[32] = L"";
        GetWindowTextW(dialog.hwnd, title, 32);
        GetDlgItemTextW(dialog.hwnd, 1, label, 32);
        const bool exact = lstrcmpW(title, L"\u03A9\u03BC\u03AD\u03B3\u03B1") == 0 &&
                           lstrcmpW(label, L"\u041F\u0440\u0438\u0432\u0435\u0442 Zo\u00EB") == 0;
        seen.push_back(exact ? "texts in any language exact" : "texts in any language changed");
        try {
            Risky("thrown in a handler");
        } catch (const std::exception& error) {
            seen.push_back(std::string("caught: ") + error.what());
        }
        PostMessageA(dialog.hwnd, WM_APP, 0, 0);
    }
    if (EventMessage == WM_APP) {
        seen.push_back("END from a handler");
        ExitCode = 7;
        ProgramEnd();
    }
    return 0;
}

}  // namespace

void ApplicationScript() {
    std::atexit([] { seen.push_back("atexit ran"); });
    NextTicket();
    seen.push_back("ticket " + std::to_string(NextTicket()));

    std::map<std::string, std::vector<int>> table;
    for (int i = 0; i < 1000; ++i) table[std::to_string(i % 7)].push_back(i);
    auto owned = std::make_unique<double>(2.5);
    char line[64];
    std::snprintf(line, sizeof line, "containers %zu %zu %.2f", table.size(), table["3"].size(), *owned * 1.5);
    seen.push_back(line);
    seen.push_back(ImportedData() > 1e308 ? "imported data reached" : "imported data missed");
    try {
        std::vector<int>().at(1);
    } catch (const std::out_of_range&) {
        seen.push_back("caught in the script");
    }

    DialogCreate(&dialog, 0, 0, 200, 80, WS_CAPTION | WS_SYSMENU, nullptr, "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1",
                 Handler);
    ControlAdd(&dialog, CONTROL_LABEL, "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 Zo\xC3\xAB", 10, 10, 180, 20,
               0, 1);
    DialogShow(&dialog, nullptr);
    while (dialog.hwnd) WaitEvents(0);
    seen.push_back("the wait loop ended");
}
