// comctl32 is mapped on first use only: a program without common controls or
// hot-tracking buttons never loads it.
#pragma once

#include <windows.h>

namespace controls {

// InitCommonControls, once per process (guarded by CommonControlsReady).
void EnsureCommonControls();

// Asks for one WM_MOUSELEAVE when the pointer leaves the window.
void TrackMouseLeave(HWND window);

}  // namespace controls
