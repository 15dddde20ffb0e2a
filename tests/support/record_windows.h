// Windows that carry a WindowRecord in window-data slot 0 under the runtime's
// window class atoms, for testing the dispatcher and the pump on their own,
// without the runtime's window procedure. Their procedures pass commands,
// closes, keys (WM_KEYDOWN, WM_CHAR) and application messages (WM_USER and
// up) to DispatchEvent. A test program uses either these or WindowCreate,
// never both: they take the runtime's class atoms.
#pragma once

#include <windows.h>

#include "rt_records.h"

// Registers the classes once and sets WindowClassAtom / FrameClassAtom.
void RegisterRecordWindowClasses();
HWND CreateRecordWindow(WindowRecord* record, HWND parent = nullptr,
                        DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE);
// A frame with a real MDI client (record->mdiClient is set).
HWND CreateRecordFrame(WindowRecord* record);
// An MDI child of the runtime's window class inside the frame's client.
HWND CreateRecordMdiChild(WindowRecord* frame, WindowRecord* child, const char* title);

// Handles every message queued now, without the runtime's pump.
void DrainMessages();
