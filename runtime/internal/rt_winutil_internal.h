// The window utilities' own parts: the message box's thread hook.
#pragma once

#include <windows.h>

#include "rt_winutil.h"

// The hook of the innermost MessageBoxCentered call; null outside them.
extern HHOOK MessageBoxHook;
LRESULT CALLBACK MessageBoxHookProc(int code, WPARAM wParam, LPARAM lParam);
