// A program that starts like the application and reaches END in the way its
// command line names; what it observes goes to standard output.
#include <windows.h>

#include <cstdlib>

#include "heap_walk.h"
#include "rt_controls_internal.h"
#include "rt_dialogs_internal.h"
#include "rt_memory.h"
#include "rt_numbers.h"
#include "rt_program.h"
#include "rt_strings.h"

namespace {

void Print(const char* text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(StrLength(text)), &written,
              nullptr);
}

void PrintNumber(int64_t value) {
    char text[24];
    Int64ToText(text, value);
    Print(text);
}

bool Is(const char* scenario) {
    // The scenario is the last word of the command line.
    const char* line = GetCommandLineA();
    const int32_t lineLength = StrLength(line);
    const int32_t length = StrLength(scenario);
    return lineLength >= length && lstrcmpA(line + lineLength - length, scenario) == 0 &&
           (lineLength == length || line[lineLength - length - 1] == ' ');
}

[[noreturn]] void EndFromDepth(int depth, int32_t code) {
    if (depth > 0) EndFromDepth(depth - 1, code);
    ExitCode = code;
    ProgramEnd();
}

// Exit routines report their order and whether the heap still works.
void ReportExitRoutine(intptr_t name) {
    Print(reinterpret_cast<const char*>(name));
    void* block = HeapAllocate(8);
    Print(block ? "+heap " : "-heap ");
    HeapRelease(block);
}

// Constructed before the script; destroyed once at END, heap still there.
struct GlobalWitness {
    int constructed = 0;
    GlobalWitness() { constructed = 1; }
    ~GlobalWitness() {
        Print(constructed ? "G" : "unconstructed G");
        void* block = HeapAllocate(8);
        Print(block ? "+heap " : "-heap ");
        HeapRelease(block);
    }
} globalWitness;

int liveBlocksBeforeDialogs;
void ReportLiveBlocks(intptr_t) {
    Print("freed-to ");
    PrintNumber(LiveGlobalBlocks() - liveBlocksBeforeDialogs);
}

// END reached again from an exit routine, and shutdown called from one.
void EndAgain(intptr_t) {
    Print("E ");
    ExitCode = 12;
    ProgramEnd();
}
void ShutDownAgain(intptr_t) {
    Print("S ");
    HeapShutdown();
}

constexpr UINT kEndNow = WM_USER;
constexpr UINT kRunNestedLoop = WM_USER + 1;

LRESULT CALLBACK ProbeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kEndNow:
            ExitCode = static_cast<int32_t>(wParam);
            ProgramEnd();
        case kRunNestedLoop: {
            // A modal loop of our own: the END message arrives inside it.
            PostMessageA(window, kEndNow, wParam, 0);
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
            Print("nested loop returned");
            return 0;
        }
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND CreateProbeWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ProbeWindowProc;
    windowClass.hInstance = ModuleHandle;
    windowClass.lpszClassName = "EndProbeWindow";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, "EndProbeWindow", "probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                           nullptr, nullptr, ModuleHandle, nullptr);
}

void CALLBACK EndFromTimer(HWND, UINT, UINT_PTR, DWORD) {
    ExitCode = 44;
    ProgramEnd();
}

// Two dialogs' worth of definitions as the dialog engine lays them out: one
// with two controls, one without, and a listed record with no definition.
void DefineDialogs() {
    static WindowRecord records[3];
    liveBlocksBeforeDialogs = LiveGlobalBlocks();
    WindowListNode** tail = &WindowList;
    for (WindowRecord& record : records) {
        auto* node = static_cast<WindowListNode*>(GlobalBlockAlloc(BLOCK_RECORD, sizeof(WindowListNode)));
        node->record = &record;
        *tail = node;
        tail = &node->next;
    }
    for (int i = 0; i < 2; ++i) {
        records[i].definition =
            static_cast<DialogDefinition*>(GlobalBlockAlloc(BLOCK_RECORD, sizeof(DialogDefinition)));
    }
    ControlDefinition** control = &records[0].definition->controls;
    static const char* const kTexts[] = {"first", "second"};
    for (const char* text : kTexts) {
        *control = static_cast<ControlDefinition*>(GlobalBlockAlloc(BLOCK_RECORD, sizeof(ControlDefinition)));
        (*control)->text = static_cast<char*>(GlobalBlockAlloc(BLOCK_TEXT, StrLength(text) + 1));
        StrCopy((*control)->text, text);
        control = &(*control)->next;
    }
}

}  // namespace

void ApplicationScript() {
    if (Is("fpu")) {
        // Bit 6 reads back set on some units whatever was loaded.
        PrintNumber(FpuReadControlWord() & ~0x40);
        return;
    }
    if (Is("exit-code")) {
        ExitCode = 7;
        return;
    }
    if (Is("deep")) EndFromDepth(50, 9);
    if (Is("exit")) exit(13);
    if (Is("exit-routines")) {
        ExitRoutineAdd(ReportExitRoutine, reinterpret_cast<intptr_t>("A"));
        ExitRoutineAdd(ReportExitRoutine, reinterpret_cast<intptr_t>("B"));
        ExitCode = 5;
        return;
    }
    if (Is("window-list")) {
        ExitRoutineAdd(ReportLiveBlocks, 0);
        DefineDialogs();
        return;
    }
    if (Is("end-in-exit-routine") || Is("shutdown-in-exit-routine")) {
        static WindowRecord dialog;
        DialogCreate(&dialog, 0, 0, 100, 100, 0, nullptr, "listed", nullptr);
        ControlAdd(&dialog, CONTROL_LABEL, "label", 0, 0, 50, 20, 0, 1);
        ExitRoutineAdd(ReportExitRoutine, reinterpret_cast<intptr_t>("A"));
        ExitRoutineAdd(Is("end-in-exit-routine") ? EndAgain : ShutDownAgain, 0);
        ExitCode = 3;
        return;
    }
    if (Is("window-proc")) {
        ExitRoutineAdd(ReportExitRoutine, reinterpret_cast<intptr_t>("R"));
        SendMessageA(CreateProbeWindow(), kEndNow, 42, 0);
        Print("send returned");
        return;
    }
    if (Is("dispatched")) {
        PostMessageA(CreateProbeWindow(), kEndNow, 41, 0);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        return;
    }
    if (Is("nested-loop")) {
        SendMessageA(CreateProbeWindow(), kRunNestedLoop, 43, 0);
        return;
    }
    if (Is("message-box")) {
        // The timer fires inside the message box's own modal loop.
        SetTimer(nullptr, 0, 50, EndFromTimer);
        MessageBoxA(nullptr, "probe", "probe", MB_OK);
        Print("message box returned");
        return;
    }
}
