// The common-control library, mapped on first use.
#include "rt_controls_internal.h"

int32_t CommonControlsReady;
HMODULE RichEditLibrary;

namespace controls {

namespace {

FARPROC CommonControlsProc(const char* name) {
    HMODULE module = GetModuleHandleA("comctl32.dll");
    if (!module) module = LoadLibraryA("comctl32.dll");
    return module ? GetProcAddress(module, name) : nullptr;
}

}  // namespace

void EnsureCommonControls() {
    if (CommonControlsReady) return;
    if (FARPROC init = CommonControlsProc("InitCommonControls")) reinterpret_cast<void(WINAPI*)()>(reinterpret_cast<void*>(init))();
    CommonControlsReady = 1;
}

void TrackMouseLeave(HWND window) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = window;
    typedef BOOL(WINAPI * TrackProc)(TRACKMOUSEEVENT*);
    if (FARPROC proc = CommonControlsProc("_TrackMouseEvent")) {
        reinterpret_cast<TrackProc>(reinterpret_cast<void*>(proc))(&track);
    } else {
        TrackMouseEvent(&track);
    }
}

}  // namespace controls
