// Dialog definitions: records filled in pixels, stored in dialog units.
#pragma once

#include <cstdint>

#include "rt_records.h"

// Atom of "CorvantisDlgClass"; 0 until registered.
extern uint16_t DialogClassAtom;

// Registers "CorvantisDlgClass" (a copy of the system dialog class) once.
int32_t RegisterDialogClass();

// Fills record with dialog defaults and a new definition whose rectangle is
// converted from pixels to dialog units, and lists the record for END.
// Titles are cut to 255 characters. Defining a record again replaces its
// definition (the old one and its controls are freed) and keeps its single
// list entry. Returns 1, or 0 when no definition could be allocated (the
// record then has no definition and is not listed). Refused with 0 and
// nothing changed: a record whose window is open, and a rectangle whose
// dialog units do not fit the template's 16 signed bits.
int32_t DialogCreate(WindowRecord* record, int32_t x, int32_t y, int32_t width, int32_t height,
                     uint32_t style, const WindowRecord* parent, const char* title, EventHandler handler);

// Style bits every dialog gets: WS_POPUP | WS_VISIBLE | DS_MODALFRAME | DS_SETFONT.
constexpr uint32_t DIALOG_FIXED_STYLE = 0x900000C0u;

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

// Horizontal and vertical bases of the 8-pixel "MS Sans Serif" dialog font.
void MeasureDialogFont(int32_t* charWidth, int32_t* charHeight);

// ---------------------------------------------------------------------------
// Controls. On a dialog record the control is defined (converted to dialog
// units and appended to the definition); on a window record it is created at
// once, in pixels, and attached. Style bit 0x80000 asks for a hidden control.
// Refused on a dialog: an identifier already used in its low 16 bits (the
// template keeps 16), a rectangle whose dialog units do not fit 16 signed
// bits, a 65536th control. Always returns 0.
int32_t ControlAdd(WindowRecord* record, int32_t type, const char* text, int32_t x, int32_t y, int32_t width,
                   int32_t height, uint32_t style, int32_t id);
// The same for a caller-named class (type 99, no type table). Class names
// longer than 31 characters are refused. Returns the new control when it was
// created at once, otherwise 0.
HWND ControlAddByClass(WindowRecord* record, const char* className, const char* text, int32_t x, int32_t y,
                       int32_t width, int32_t height, uint32_t style, uint32_t exStyle, int32_t id);
// Appends a control definition in dialog units; refused for an identifier
// whose low 16 bits are taken, units outside 16 signed bits, a full list
// (65535), a record without definition, or when memory runs out. Returns 0.
int32_t ControlDefinitionAppend(WindowRecord* record, uint32_t exStyle, const char* className, const char* text,
                                uint32_t style, int32_t x, int32_t y, int32_t cx, int32_t cy, int32_t id,
                                int32_t type, int32_t isDefault);

extern int32_t CommonControlsReady;   // InitCommonControls has run
extern HMODULE RichEditLibrary;       // "riched32.dll", loaded for the first rich edit

// Style bit of ControlAdd that asks for a hidden control.
constexpr uint32_t CONTROL_HIDDEN = 0x80000u;

// ---------------------------------------------------------------------------
// The in-memory dialog template: header, class "CorvantisDlgClass", title,
// 8-point "MS Sans Serif", then one item per control on 4-byte boundaries.
// The size is an upper bound; the writer never goes past it, whatever the
// definition holds. A definition the template cannot hold (a coordinate
// outside 16 signed bits, more than 65535 items, more than 2 GB) has size 0,
// and the writer writes nothing for it.
int32_t DialogTemplateSize(const DialogDefinition* definition);
int32_t DialogTemplateWrite(void* block, const DialogDefinition* definition);

// ---------------------------------------------------------------------------
// Showing dialogs. owner names another record whose window owns the dialog
// (0: the definition's parent). DialogShow returns the new window, or 0 when
// none was made or its WM_INITDIALOG handler already closed it; DialogDoModal
// returns the EndDialog result, -1 when the dialog could not be created, 0
// for a record that is no defined dialog. A record whose dialog is open is
// refused by both (0 and -1): a record has one window at a time.
extern WindowRecord* CreatingDialog;  // record handed to the dialog procedure
HWND DialogShow(WindowRecord* record, const WindowRecord* owner);
INT_PTR DialogDoModal(WindowRecord* record, const WindowRecord* owner);
INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int32_t DialogControlsSetup(WindowRecord* record);
