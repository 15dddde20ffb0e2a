// The window subsystem's own parts: the classes, the creation hand-off, the
// window procedure with painting and erasing, bar measuring.
#pragma once

#include <windows.h>

#include <cstdint>

#include "rt_core.h"
#include "rt_windows.h"

// The record whose window is inside CreateWindowExA; null otherwise.
extern WindowRecord* CreatingWindow;

// Registers "CorvantisWndClass" and "CorvantisFrameClass" (each once). Returns 0.
int32_t WindowClassesRegister();

// The window procedure of both runtime classes.
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Copies the update rectangle from the backing bitmap (or raises WM_PAINT for
// windows without one), never over a visible child. Returns 1.
int32_t WindowPaint(HWND window, WPARAM wParam, LPARAM lParam);

// The screen in the device pixels of a window at dpi, the least a backing
// bitmap holds: a window inside one moved to a higher DPI than the system's
// has more of them than the system's screen.
SIZE ScreenAtDpi(int32_t dpi);
// A bitmap for a window's backing store, width x height device pixels,
// drawable through a memory DC compatible with windowDc.
HBITMAP BackingBitmap(HDC windowDc, int width, int height);

// Saves dc's state and makes its coordinates the device pixels of what is
// selected into it, whatever mapping a program drew with; RestoreDC(dc, -1)
// gives the program's back. DrawingDcFollowDpi has a DC that WindowDrawBegin
// opened in 96-DPI pixels draw at dpi.
void DeviceUnitsSave(HDC dc);
void DrawingDcFollowDpi(HDC dc, int32_t dpi);

// A top-level runtime window moved to dpi (WM_DPICHANGED): its children, and
// those of its child windows and MDI client, are placed again at the new DPI,
// the record's font and backing bitmap are made for it (the bitmap's picture
// scaled), and so are those of runtime windows inside; the window takes the
// suggested rectangle and its bars and MDI client follow. True when the DPI
// changed: once the window's handler has heard of it, WindowDpiTellChildren
// tells the runtime windows inside (WM_DPICHANGED_AFTERPARENT, the DPI in
// both words of wParam; the system's own notice carries none and is not
// passed on). WindowDpiForget forgets the DPI when the window goes.
bool WindowFollowDpi(HWND window, WindowRecord* record, int32_t dpi, const RECT* suggested);
void WindowDpiTellChildren(HWND parent, int32_t dpi);
void WindowDpiForget(HWND window);
// From the first runtime window made: those inside a dialog follow its DPI.
void WindowsInDialogsFollowDpi();
// Fills the clip box with the window colour, then raises EVENT_ERASE with the
// DC in EventWParam. Returns 1.
int32_t WindowEraseBackground(HWND window, WPARAM dc, LPARAM lParam);

// EnumChildWindows callback of FitClientToBars: measures one toolbar or
// status bar into the layout. Returns 1.
BOOL CALLBACK BarMeasureProc(HWND window, LPARAM layout);
