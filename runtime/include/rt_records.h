// The records that user code and the runtime share: the window record that
// user code declares, dialog and control definitions, and the list of dialogs.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// A user routine that reads the event variables; its result goes back to the
// window procedure that dispatched the event.
typedef int32_t (*EventHandler)();

// Optional per-record routines supplied by user code through `hooks`.
typedef int32_t (*KeyFilterProc)(HWND window, MSG* message);  // non-zero: key consumed
typedef int32_t (*ResizeProc)(HWND window, int32_t width, int32_t height);
struct WindowHooks {
    uintptr_t reserved;
    KeyFilterProc keyFilter;
    ResizeProc resize;
};

struct DialogDefinition;

// One per dialog or window; user storage that the runtime never allocates.
// Handles and addresses are pointer-sized, everything else 32 bits.
struct WindowRecord {
    HWND hwnd;
    HBITMAP backBitmap;
    HFONT font;
    HPEN pen;
    HWND mdiClient;
    POINT penPos;
    int32_t bkMode;
    int32_t rop2;
    int32_t spareA;
    int32_t spareB;
    COLORREF bkColor;
    COLORREF windowColor;
    int32_t hasBackBitmap;
    int32_t isDialog;
    HCURSOR cursor;
    HDC eventDc;
    HDC drawDc;
    int32_t spareC;
    int32_t kind;  // 1 dialog, 0 window
    DialogDefinition* definition;
    int32_t noErase;
    int32_t spareD;
    EventHandler handler;
    WindowHooks* hooks;
    int32_t spareE;
};

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

// Every defined dialog, in definition order; freed at program end.
struct WindowListNode {
    WindowListNode* next;
    WindowRecord* record;
};
extern WindowListNode* WindowList;
// Frees every listed record's definition with its controls and text copies,
// and the list nodes; called once, at END.
int32_t WindowListFree();
// Frees a control list: each node and its text copy.
int32_t ControlListFree(ControlDefinition* first);

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
static_assert(sizeof(WindowListNode) == 8, "WindowList node is two words");
static_assert(sizeof(WindowHooks) == 12, "hook record words");
#endif
