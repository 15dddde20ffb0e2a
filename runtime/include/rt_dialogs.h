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
// record then has no definition and is not listed).
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

// Horizontal and vertical bases of the 8-pixel "MS Sans Serif" dialog font.
void MeasureDialogFont(int32_t* charWidth, int32_t* charHeight);
