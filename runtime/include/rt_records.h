// The records that user code and the runtime share: the window record that
// user code declares, and the dialog and control definitions behind a dialog.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// A user routine that reads the event variables; its result goes back to the
// window procedure that dispatched the event.
typedef int32_t (*EventHandler)();

// Optional per-record routines supplied by user code through `hooks`.
// The pump calls the key filter for each WM_KEYDOWN of the record's window or
// its children, before anything else; non-zero: the key is consumed.
typedef int32_t (*KeyFilterProc)(HWND window, MSG* message);
typedef int32_t (*ResizeProc)(HWND window, int32_t width, int32_t height);
struct WindowHooks {
    uintptr_t reserved;
    KeyFilterProc keyFilter;
    ResizeProc resize;
};

struct DialogDefinition;

// One per dialog or window; user storage that the runtime never allocates.
// Handles and addresses are pointer-sized, everything else 32 bits.
// DialogCreate and WindowCreate fill it; afterwards a program may set the
// fields marked "program", and reads the rest.
struct WindowRecord {
    HWND hwnd;              // the window; 0 while none (a dialog's goes back to 0 when destroyed)
    HBITMAP backBitmap;     // window: backing bitmap, screen-sized, deleted with the window
    HFONT font;             // window: font of its drawing state, deleted with the window
    HPEN pen;               // window: pen of its drawing state, deleted with the window
    HWND mdiClient;         // frame: its MDI client; 0 otherwise
    POINT penPos;           // window: drawing position
    int32_t bkMode;         // window: background mode of the drawing state
    int32_t rop2;           // window: mix mode of the drawing state
    int32_t spareA;         // unused (set to 0)
    int32_t spareB;         // unused (set to 1)
    COLORREF bkColor;       // window: background colour of the drawing state
    COLORREF windowColor;   // program: colour the window's background is erased with (and its
                            // backing bitmap filled with when made; drawn on after that)
    int32_t hasBackBitmap;  // window: 1 when it keeps a backing bitmap
    int32_t isDialog;       // the pump gives this window the dialog manager's keys
    HCURSOR cursor;         // program: cursor over the client area (the arrow at first)
    HDC eventDc;            // the DC being erased, during EVENT_ERASE only
    HDC drawDc;             // program: memory DC holding backBitmap while it draws; 0 otherwise
    int32_t spareC;         // unused (set to 0)
    int32_t kind;           // 1 dialog (controls are defined), 0 window (created at once)
    DialogDefinition* definition;  // dialog: its definition, owned by the runtime until END
    int32_t noErase;        // program: non-zero keeps the background from being erased
    int32_t spareD;         // unused (set to 0)
    EventHandler handler;   // program: the routine that receives this record's events
    WindowHooks* hooks;     // program: key filter and resize routine; 0 for none
    int32_t spareE;         // unused (set to 0)
};

// Window properties that carry a record's state: a dialog's record, and an
// accelerator table a program may give a record's window (the pump uses it).
#define RT_PROP_DIALOG_RECORD "DLGPTR"
#define RT_PROP_ACCELERATORS "_ACCEL_TABLE"

struct ControlDefinition;

struct DialogDefinition {
    uint32_t style;
    uint32_t exStyle;
    char title[256];
    HWND parent;
    int32_t x;  // dialog units
    int32_t y;
    int32_t cx;
    int32_t cy;
    int32_t charWidth;   // horizontal base in pixels
    int32_t charHeight;  // vertical base in pixels
    ControlDefinition* controls;
    int32_t modeless;
};

struct ControlDefinition {
    ControlDefinition* next;
    uint32_t style;
    uint32_t exStyle;
    char* text;  // own block, freed with the definition
    char className[32];
    int32_t type;
    int32_t x;  // dialog units
    int32_t y;
    int32_t cx;
    int32_t cy;
    int32_t id;
    int32_t isDefault;
};

#if defined(__i386__)
static_assert(sizeof(WindowRecord) == 26 * 4, "WindowRecord is 26 words");
static_assert(offsetof(WindowRecord, penPos) == 5 * 4, "penPos is the sixth field");
static_assert(offsetof(WindowRecord, bkMode) == 7 * 4, "bkMode follows the pen pair");
static_assert(offsetof(WindowRecord, definition) == 20 * 4, "definition offset");
static_assert(offsetof(WindowRecord, handler) == 23 * 4, "handler offset");
static_assert(offsetof(WindowRecord, spareE) == 25 * 4, "spareE is the last word");
static_assert(sizeof(DialogDefinition) == 300, "DialogDefinition is 300 bytes");
static_assert(offsetof(DialogDefinition, parent) == 264, "parent follows the title");
static_assert(offsetof(DialogDefinition, controls) == 292, "controls offset");
static_assert(sizeof(ControlDefinition) == 76, "ControlDefinition is 76 bytes");
static_assert(offsetof(ControlDefinition, className) == 16, "className offset");
static_assert(offsetof(ControlDefinition, type) == 48, "type offset");
static_assert(offsetof(ControlDefinition, isDefault) == 72, "isDefault offset");
static_assert(sizeof(WindowHooks) == 12, "hook record words");
#endif
