// Runtime windows: class atoms and the creation hand-off.
#pragma once

#include <windows.h>

#include <cstdint>

#include "rt_records.h"

// Atoms of "CorvantisWndClass" and "CorvantisFrameClass"; 0 until registered.
extern uint16_t WindowClassAtom;
extern uint16_t FrameClassAtom;
// Class atom of the first frame's MDI client; 0xFFFF once an ordinary window
// was made while it was still 0.
extern uint16_t MdiClientAtom;

// Moves the MDI client into the part of the frame's client area that its
// toolbars and status bars (any descendants) leave free. Returns 1 when a bar
// was found (the client was moved), 0 otherwise.
int32_t FitClientToBars(HWND frame, HWND client);
BOOL CALLBACK BarMeasureProc(HWND window, LPARAM layout);
