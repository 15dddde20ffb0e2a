// Ordinary, pop-up, frame and MDI child windows with backing bitmaps.
#pragma once

#include <windows.h>

#include <cstdint>

#include "rt_records.h"

// Option bits carried in WindowCreate's style; removed before the style
// reaches the system.
enum : uint32_t {
    WINOPT_NOBITMAP = 0x10,     // no backing bitmap: the handler paints on WM_PAINT
    WINOPT_FRAME = 0x20,        // MDI frame with a "&Window" menu and an MDI client
    WINOPT_NOCAPTION = 0x40,    // no caption and system menu
    WINOPT_TOOLWINDOW = 0x200,  // WS_EX_TOOLWINDOW
    WINOPT_TOPMOST = 0x400,     // WS_EX_TOPMOST
};
constexpr uint32_t WINOPT_ALL = WINOPT_NOBITMAP | WINOPT_FRAME | WINOPT_NOCAPTION | WINOPT_TOOLWINDOW | WINOPT_TOPMOST;

// Identifiers of a frame's MDI client and of its first MDI child.
constexpr int32_t MDI_CLIENT_ID = 0xCAC;
constexpr int32_t MDI_FIRST_CHILD_ID = 0x4050;
// A frame's toolbar and status bar are its controls: a toolbar button's
// WM_COMMAND reaches the handler as EVENT_CONTROL (its identifier in
// EventControlId), a menu or accelerator command as EVENT_MENU. The "&Window"
// menu's IDM_CASCADE, IDM_TILE and IDM_ARRANGE have been carried out when the
// handler sees them: it must not send them to the client again. A handler
// that wants a toolbar button to act as a menu item handles it itself; it
// need not re-post it as a menu command.
//
// Icon resource used for both window classes when the program has it.
constexpr int32_t WINDOW_ICON_ID = 101;

// Gives the record a window: a popup (no parent), a child of the parent
// record's window, an MDI child when the parent is a frame, or (WINOPT_FRAME)
// an MDI frame. x, y, width, height are the outer rectangle in pixels
// (DialogCreate's is the client area).
// Returns 1 when the window exists. The backing bitmap, pen and font it makes
// are deleted with the window. A record whose window still exists is refused
// (0, nothing changed): destroy the window first. It may be called from a
// handler while another window is being created.
int32_t WindowCreate(WindowRecord* record, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t style,
                     const WindowRecord* parent, const char* title, EventHandler handler);

// Drawing on a window's backing bitmap. WindowDrawBegin opens a memory DC on
// it, keeps it in the record's drawDc and returns it; paints copy from it
// while it is open. Its coordinates, pen widths and font heights are 96-DPI
// pixels, drawn at the window's DPI so that lines and text stay sharp (a pen
// is centred on its line as the system scales it; the stock pen the DC
// starts with stays one device pixel wide); with DRAW_DEVICE_PIXELS they are
// the bitmap's own pixels. It starts with the record's background mode,
// background colour and mix mode. Returns null for a window without a
// backing bitmap, while a drawing DC is open, or for other units. The
// bitmap is made again when the window moves to another DPI, its picture
// scaled; a handler that hears of the change may draw it anew. A top-level
// window hears WM_DPICHANGED, and after it the runtime windows inside it,
// MDI children too, hear WM_DPICHANGED_AFTERPARENT; both carry the new DPI
// in EventWParam's low word. WindowDrawEnd closes the DC and has the window
// show what was drawn; it returns 0 when none was open. One still open when
// the window is destroyed is deleted with the bitmap.
enum : uint32_t { DRAW_96DPI_PIXELS = 0, DRAW_DEVICE_PIXELS = 1 };
HDC WindowDrawBegin(WindowRecord* record, uint32_t units);
int32_t WindowDrawEnd(WindowRecord* record);

// Moves the MDI client into the part of the frame's client area that its
// toolbars and status bars (any descendants) leave free. Returns 1 when a bar
// was found (the client was moved), 0 otherwise.
int32_t FitClientToBars(HWND frame, HWND client);
