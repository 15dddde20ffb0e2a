// The window utilities' own parts: the message box's thread hook.
#pragma once

#include <windows.h>

#include "rt_winutil.h"

// The left (or top) edge that centres size over [low, high); halves
// truncate toward zero.
int CentredPosition(LONG low, LONG high, int size);
// The position moved so that [position, position + size) lies within
// [low, high), the low edge winning when it cannot.
int ClampedPosition(int position, int size, LONG low, LONG high);

// The hook of the innermost MessageBoxCentered call; null outside them.
extern HHOOK MessageBoxHook;
LRESULT CALLBACK MessageBoxHookProc(int code, WPARAM wParam, LPARAM lParam);
