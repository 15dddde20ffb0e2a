// The dialog engine's own parts: the class, dialog units, control
// definitions, the in-memory template and the dialog procedure.
#pragma once

#include <windows.h>

#include <cstdint>

#include "rt_core.h"
#include "rt_dialogs.h"

// Registers "CorvantisDlgClass" (a copy of the system dialog class) once.
int32_t RegisterDialogClass();

struct DialogUnitRect {
    int32_t x, y, cx, cy;
};
// Both edges are converted (4/charWidth across, 8/charHeight down, rounded to
// nearest even) and the size is their difference, so rectangles that share an
// edge in pixels share it in dialog units.
DialogUnitRect PixelsToDialogUnits(int32_t charWidth, int32_t charHeight, int32_t x, int32_t y,
                                   int32_t width, int32_t height);

// True when each of x, y, cx, cy fits the template's 16 signed bits.
bool DialogUnitsFit(const DialogUnitRect& units);

// The dialog class's name and the dialog font's face, one copy each for
// every unit that names them.
inline constexpr char kDialogClassName[] = "CorvantisDlgClass";
inline constexpr char kDialogTypeface[] = "MS Sans Serif";

// Horizontal and vertical bases of the 8-pixel "MS Sans Serif" dialog font.
void MeasureDialogFont(int32_t* charWidth, int32_t* charHeight);

// Appends a control definition in dialog units; refused for an empty class
// name, an identifier whose low 16 bits are taken (but -1), units outside 16
// signed bits, a full list (65535), a record without definition, or when
// memory runs out. Returns 1 when appended, 0 when refused.
int32_t ControlDefinitionAppend(WindowRecord* record, uint32_t exStyle, const char* className, const char* text,
                                uint32_t style, int32_t x, int32_t y, int32_t cx, int32_t cy, int32_t id,
                                int32_t type, int32_t isDefault);

// The in-memory dialog template: header, class "CorvantisDlgClass", title,
// 8-point "MS Sans Serif", then one item per control on 4-byte boundaries.
// The size is an upper bound; the writer never goes past it, whatever the
// definition holds. A definition the template cannot hold (a coordinate
// outside 16 signed bits, more than 65535 items, more than 2 GB) has size 0,
// and the writer writes nothing for it.
int32_t DialogTemplateSize(const DialogDefinition* definition);
int32_t DialogTemplateWrite(void* block, const DialogDefinition* definition);

// The record being shown, handed to the dialog procedure, which takes it at
// WM_INITDIALOG; null at all other times.
extern WindowRecord* CreatingDialog;
// What both show operations need: a record with a dialog definition, its
// owner (one whose window has gone counts as none), and the template, which
// lives only around the system call that reads it (none for a definition
// the template cannot hold).
bool IsDefinedDialog(const WindowRecord* record);
HWND OwnerWindow(const WindowRecord* record, const WindowRecord* owner);
void* BuildTemplate(const DialogDefinition* definition);
// The one dialog procedure of every runtime dialog.
INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Attaches every defined control of the shown dialog and names its default
// button to the dialog manager. justCreated: the dialog manager has just made
// the children, so those met in order cannot be attached yet. Returns 0.
// With a layout, each control is also put at its place and given its font.
struct DialogLayout;
int32_t DialogControlsSetup(WindowRecord* record, bool justCreated = false, const DialogLayout* layout = nullptr);

// The dialog at the DPI of its monitor. The 96-DPI rectangle the program gave
// a dialog or control definition is kept beside it (forgotten when it is
// freed). When the dialog manager has made the dialog, DialogLayoutStart puts
// the dialog where that rectangle says at the dialog's DPI, and makes the
// dialog font for that DPI unless it is 96; DialogLayoutPlace does the same
// for each control (the dialog's place at creation is DialogLayoutFinish's).
// After a change of DPI (suggested: the system's rectangle
// for the dialog) they place everything again and replace the font.
// DialogLayoutEnd deletes what the dialog made, at its end.
void KeepPixelRect(const void* definition, int32_t x, int32_t y, int32_t width, int32_t height);
void ForgetPixelRect(const void* definition);
struct DialogLayout {
    HWND dialog;
    const DialogDefinition* definition;
    int32_t dpi;
    HFONT font;  // null: the template's, unchanged
    BOOL again;  // placed before: move whatever the dialog manager made
    // Where a new dialog of the right size still has to go (0, 0: nowhere),
    // left for after its WM_INITDIALOG handler: one that places the dialog
    // itself spares the move.
    POINT pendingMove;
};
DialogLayout DialogLayoutStart(HWND dialog, const DialogDefinition* definition, const RECT* suggested = nullptr);
void DialogLayoutPlace(const DialogLayout& layout, HWND control, const ControlDefinition* node);
// Moves a new dialog by the layout's pending move unless it has moved since
// before.
void DialogLayoutFinish(const DialogLayout& layout, const RECT& before);
void DialogLayoutEnd(HWND dialog);
// The dialog font, 8 points at dpi, or smaller where a caption of the
// definition's controls would be wider than in the design's face scaled to
// dpi: the design's face where it scales, otherwise the system's message
// face. The caller deletes it.
HFONT DialogFontForDpi(int32_t dpi, const DialogDefinition* definition);

// Every defined dialog, in definition order; freed at program end.
struct WindowListNode {
    WindowListNode* next;
    WindowRecord* record;
};
extern WindowListNode* WindowList;
// Frees every listed record's definition with its controls and text copies,
// and the list nodes, leaving an empty list; called once, at END.
int32_t WindowListFree();
// Frees a control list: each node and its text copy.
int32_t ControlListFree(ControlDefinition* first);
// What ControlDefinitionAppend remembers of the last list it appended to is
// stale once a list is freed.
void ForgetListEnd();

#if defined(__i386__)
static_assert(sizeof(WindowListNode) == 8, "WindowList node is two words");
#endif
