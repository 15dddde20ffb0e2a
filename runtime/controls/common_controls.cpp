// The common-control library, mapped on first use.
#include "rt_controls_internal.h"

int32_t CommonControlsReady;
HMODULE RichEditLibrary;

namespace controls {

FARPROC CommonControlsProc(const char* name) {
    HMODULE module = GetModuleHandleA("comctl32.dll");
    if (!module) module = LoadLibraryA("comctl32.dll");
    return module ? GetProcAddress(module, name) : nullptr;
}

void EnsureCommonControls() {
    if (CommonControlsReady) return;
    if (FARPROC init = CommonControlsProc("InitCommonControls")) reinterpret_cast<void(WINAPI*)()>(reinterpret_cast<void*>(init))();
    CommonControlsReady = 1;
}
}  // namespace controls
