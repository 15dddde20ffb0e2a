// What every window part of the runtime shares: the class atoms that mark
// its windows, the record behind a window, and platform constants that older
// MinGW headers may lack.
#pragma once

#include <windows.h>

#include <cstdint>

#include "rt_records.h"

// Atoms of "CorvantisDlgClass", "CorvantisWndClass" and "CorvantisFrameClass";
// 0 until registered.
extern uint16_t DialogClassAtom;
extern uint16_t WindowClassAtom;
extern uint16_t FrameClassAtom;
// Class atom of the first frame's MDI client; 0xFFFF once an ordinary window
// was made while it was still 0.
extern uint16_t MdiClientAtom;

// Runtime windows inside a dialog whose DPI changed: placed again and made
// for the new DPI before its handler hears (place, from the old DPI to the
// new), told after it (tell). Set when a runtime window is made, so that a
// program without them links none of it; null until then.
struct InnerWindowsDpi {
    void (*place)(HWND dialog, int32_t from, int32_t to);
    void (*tell)(HWND dialog, int32_t dpi);
};
extern InnerWindowsDpi DialogInnerWindowsDpi;

// The record of a runtime window: a dialog's "DLGPTR" property, or window-data
// slot 0 of the runtime's window classes. Any other window has none (0).
WindowRecord* WindowRecordOf(HWND window);
// A dialog's record ("DLGPTR"), and binding it (0: unbinding). Dialogs of
// "CorvantisDlgClass" also keep it where it is cheaper to read.
WindowRecord* DialogRecordOf(HWND window);
void DialogRecordBind(HWND window, WindowRecord* record);
// True while the record's window exists and is bound to this record.
bool RecordHasWindow(const WindowRecord* record);

// TranslateMDISysAccel, set when the first frame is made: the pump calls it
// for frames, and a program without one imports nothing for it.
extern BOOL(WINAPI* MdiKeyTranslator)(HWND client, MSG* message);

// Two texts alike to the byte. Spelled out rather than imported: the
// platform's comparison is one more import for every program.
inline bool TextEquals(const char* a, const char* b) {
    while (*a && *a == *b) ++a, ++b;
    return *a == *b;
}

// A child window's identifier, read as GetDlgCtrlID reads it; one import
// fewer for every program.
inline int ControlId(HWND window) { return static_cast<int>(GetWindowLongPtrA(window, GWLP_ID)); }

// The system's predefined dialog class (also the class of message boxes).
constexpr WORD RT_SYSTEM_DIALOG_ATOM = 0x8002;
#define RT_SYSTEM_DIALOG_CLASS MAKEINTATOM(RT_SYSTEM_DIALOG_ATOM)

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif
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

// The atom of a window's class (0: no window). GetClassLongA answers it as
// GetClassWord does, and the record lookup imports it anyway.
inline uint16_t ClassAtom(HWND window) { return static_cast<uint16_t>(GetClassLongA(window, GCW_ATOM)); }
