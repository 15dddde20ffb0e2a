// Names and numbers the runtime shares with the platform and with user code,
// and platform constants that older MinGW headers may lack.
#pragma once

#include <windows.h>

// Window properties.
#define RT_PROP_DIALOG_RECORD "DLGPTR"
#define RT_PROP_ACCELERATORS "_ACCEL_TABLE"

// The system's predefined dialog class (also the class of message boxes).
constexpr WORD RT_SYSTEM_DIALOG_ATOM = 0x8002;
#define RT_SYSTEM_DIALOG_CLASS MAKEINTATOM(RT_SYSTEM_DIALOG_ATOM)

#ifndef WM_MOUSELEAVE
#define WM_MOUSELEAVE 0x02A3
#endif
#ifndef WM_SIZING
#define WM_SIZING 0x0214
#endif
#ifndef GCW_ATOM
#define GCW_ATOM (-32)
#endif
#ifndef WS_EX_CONTROLPARENT
#define WS_EX_CONTROLPARENT 0x00010000L
#endif
