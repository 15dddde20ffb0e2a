// Refers to every function and variable of the runtime's interface, so that
// linking it shows each one is there; a few are called to show the program
// runs. The exit code counts what is missing: 0.
#include <corvantis.h>

namespace {

using Function = void (*)();
template <typename F>
Function Entry(F function) {
    return reinterpret_cast<Function>(function);
}

// volatile: an optimiser linking the program whole keeps every entry.
const Function volatile functions[] = {
    // controls, dialogs, events, windows, window utilities
    Entry(SendWindowMessage), Entry(ControlSubclass), Entry(DialogCreate), Entry(ControlAdd),
    Entry(ControlAddByClass), Entry(DialogShow), Entry(DialogDoModal), Entry(DispatchEvent),
    Entry(WaitEvents), Entry(WindowCreate), Entry(FitClientToBars), Entry(CenterWindow),
    Entry(DialogClose), Entry(GetControlText), Entry(MessageBoxCentered), Entry(WindowDrawBegin),
    Entry(WindowDrawEnd),
    // DPI
    Entry(WindowDpi), Entry(ToDevicePixels), Entry(FromDevicePixels),
    // strings
    Entry(StrLength), Entry(StrCopy), Entry(StrCopyBounded), Entry(StrAssign), Entry(StrAppend),
    Entry(StrDuplicate), Entry(StrConcatList), Entry(StrConcat<const char*>), Entry(StrUpperDuplicate),
    Entry(StrFind),
    // numbers
    Entry(FpuModeReset), Entry(FpuReadControlWord), Entry(RoundNearest), Entry(TextToReal),
    Entry(IsDecimalDigit), Entry(FirstCharCode), Entry(RealPower), Entry(RealAbs), Entry(RealToText),
    Entry(RealToTextSingle), Entry(Int64ToText), Entry(UInt64ToText),
    // global blocks and lists, heap, temporaries, exit routines
    Entry(GlobalBlockAlloc), Entry(GlobalBlockFree), Entry(GlobalArrayAlloc), Entry(GlobalArrayFree),
    Entry(ListCreate), Entry(ListAppend), Entry(ListInsertFirst), Entry(ListRemove), Entry(ListDestroy),
    Entry(ListFirst), Entry(ListNext), Entry(ListData), Entry(HeapStart), Entry(HeapAllocate),
    Entry(HeapRelease), Entry(HeapShutdown), Entry(ExitRoutineAdd), Entry(TempPush), Entry(TempReleaseAll),
    Entry(TempRelease), Entry(TempStackDepth), Entry(RuntimeHeapHandle), Entry(DebugPrint),
    // start and END
    Entry(ProgramStartup), Entry(ProgramEnd),
};

const void* const volatile variables[] = {
    &EventMessage, &EventWParam, &EventLParam, &EventMouseX, &EventMouseY, &EventWindow,
    &EventControlId, &EventMenuId, &EventNotifyCode, &FpuControlWord, &ExitCode, &ModuleHandle,
    &StartupStack,
};

}  // namespace

void ApplicationScript() {
    int32_t missing = 0;
    for (const Function function : functions) missing += function == nullptr;
    for (const void* variable : variables) missing += variable == nullptr;
    char text[32];
    RealToText(text, TextToReal("2.5"), 1);
    char* joined = StrConcat("x", text);
    if (TextToReal(text) != 2.5 || StrLength(joined) != 1 + StrLength(text) || ModuleHandle == nullptr) {
        missing += 100;
    }
    HeapRelease(joined);
    ExitCode = missing;
}
