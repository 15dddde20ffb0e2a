// Dialogs defined in pixels and their controls, shown modeless or modal.
#pragma once

#include <cstdint>

#include "rt_controls.h"
#include "rt_records.h"

// Fills record with dialog defaults and a new definition whose rectangle is
// converted from pixels to dialog units, and lists the record for END. The
// rectangle is the client area (inside caption and border); WindowCreate's
// is the outer one.
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

// ---------------------------------------------------------------------------
// Controls. On a dialog record the control is defined (converted to dialog
// units and appended to the definition); on a window record it is created at
// once, in pixels, and attached. Style bit 0x80000 asks for a hidden control.
// Refused on a dialog: a type outside ControlType (no class to make), an
// identifier already used in its low 16 bits (the template keeps 16) other
// than -1, which any number of labels may share, a rectangle whose dialog
// units do not fit 16 signed bits, a 65536th control; on a window: no window
// yet, an identifier a child has already (-1 again excepted). Returns 1 when
// the control was defined or created, 0 when it was refused.
// A button or label that the program gives BS_BITMAP or SS_BITMAP only after
// it was added takes images from its text once ControlSubclass has been
// called for it (which changes nothing else on an attached control).
int32_t ControlAdd(WindowRecord* record, ControlType type, const char* text, int32_t x, int32_t y, int32_t width,
                   int32_t height, uint32_t style, int32_t id);
// The same for a caller-named class (type 99, no type table). Empty class
// names and names longer than 31 characters are refused. Returns the new control when it was
// created at once, otherwise 0.
HWND ControlAddByClass(WindowRecord* record, const char* className, const char* text, int32_t x, int32_t y,
                       int32_t width, int32_t height, uint32_t style, uint32_t exStyle, int32_t id);
// Style bit of ControlAdd that asks for a hidden control.
constexpr uint32_t CONTROL_HIDDEN = 0x80000u;

// ---------------------------------------------------------------------------
// Showing dialogs. owner names another record whose window owns the dialog
// (0: the definition's parent). DialogShow returns the new window, or 0 when
// none was made or its WM_INITDIALOG handler already closed it; DialogDoModal
// returns the EndDialog result, -1 when the dialog could not be created, 0
// for a record that is no defined dialog. A record whose dialog is open is
// refused by both (0 and -1): a record has one window at a time.
HWND DialogShow(WindowRecord* record, const WindowRecord* owner);
INT_PTR DialogDoModal(WindowRecord* record, const WindowRecord* owner);
