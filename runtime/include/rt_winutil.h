// Operations user code calls on windows: centring, closing a dialog, reading
// a control's text, a message box centred over its owner.
#pragma once

#include <windows.h>

#include <cstdint>

#include "rt_records.h"

// Centres a child in its parent's client area, a top-level window over its
// visible owner or the work area, kept inside the bounds. Returns 0.
int32_t CenterWindow(const WindowRecord* record);

// Destroys a modeless dialog or ends a modal one with result; the record has
// no window afterwards. Window records and closed dialogs are ignored.
int32_t DialogClose(WindowRecord* record, INT_PTR result);

// The text of the dialog's control id as a new heap string (empty when there
// is no window or no such control); null only when the heap is exhausted.
char* GetControlText(const WindowRecord* record, int32_t id);

// MessageBoxA owned by the record's window (or none), centred over it and
// kept on screen. Type 0 means MB_OK | MB_ICONEXCLAMATION. Returns
// MessageBoxA's result.
int32_t MessageBoxCentered(const WindowRecord* record, const char* text, const char* caption, UINT type);
