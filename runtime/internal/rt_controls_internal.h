// The control subsystem's own parts: the subclass procedures, reflection
// from parents, button drawing and the common-control libraries.
#pragma once

#include <windows.h>

#include <cstdint>

#include "rt_controls.h"
#include "rt_core.h"

// The reflection that the runtime's dialog and window procedures apply: the
// six WM_CTLCOLOR... messages (not WM_CTLCOLORDLG) go to the control in lParam
// as ColourRequest, WM_DRAWITEM to the control its item names, so that each
// control answers and paints from its own properties.
bool IsReflectedMessage(UINT message);
// Passes a reflected message to its control; false when it names none.
bool ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer);

// A window's destruction, from its WM_DESTROY to its WM_NCDESTROY: objects
// its controls let go of are deleted only at the end, when every child has
// shown what it held. Nested destructions count as one.
void ControlsReleaseBegin();
void ControlsReleaseEnd();

// Whether a runtime window surely has no child with an identifier, without
// a search of its children: its procedure notes each child made
// (WM_PARENTNOTIFY), and an identifier whose low 16 bits lie above every
// child's is free. False means only "look". Forgotten when the window goes.
void NoteChildId(HWND parent, int32_t id);
bool ChildIdFree(HWND parent, int32_t id);
void ForgetChildIds(HWND parent);

// Values the runtime keeps beside a window or a record of its own, in the
// same table, so that keeping one costs no request: (key, slot) with slots
// from KEPT_FIRST_SLOT on. 0 is no value; keeping 0 forgets.
uintptr_t KeptValue(const void* key, uint8_t slot);
void KeepValue(const void* key, uint8_t slot, uintptr_t value);
enum : uint8_t {
    KEPT_FIRST_SLOT = 9,
    KEPT_PIXELS = KEPT_FIRST_SLOT,       // four: a definition's 96-DPI left, top, right, bottom
    KEPT_FONT = KEPT_PIXELS + 4,         // the font a dialog made for its DPI
    KEPT_LAID_OUT_DPI,                   // a top-level window's DPI, once it has changed
    KEPT_TEMPLATE_FONT,                  // a dialog's own font from its template, at 96 DPI
    KEPT_DEFAULT_MARK,                   // an owner-drawn push button's DEFAULT_MARK_*, once told
};
// What the dialog manager last told an owner-drawn push button (BM_SETSTYLE).
enum : uintptr_t { DEFAULT_MARK_NOT = 1, DEFAULT_MARK_SET = 2 };

// The subclass procedures that ControlSubclass installs.
LRESULT CALLBACK GenericControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PushButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK HotButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Hot-tracking buttons and the images that bitmap buttons and picture labels
// name come into a program only once one of these is called: ControlAdd and
// ControlSubclass call them for the types (and styles) that need them.
void HotButtonsUsed();
void PictureControlsUsed();

// ControlSubclass without those calls: for controls whose type was met
// before, by ControlAdd.
int32_t ControlAttach(HWND control, int32_t type);
// ControlAttach for a control made a moment ago, so never attached:
// without asking the control whether it is.
int32_t ControlAttachNew(HWND control, int32_t type);

// Solid rectangle through ExtTextOutA; leaves the colour as the DC's
// background colour.
int32_t FillSolid(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height, COLORREF colour);
// Paints an owner-drawn push button completely (frame, face, outline, caption).
int32_t DrawPushButton(HWND button, DRAWITEMSTRUCT* item);
// Paints a hot-tracking button: region or rectangle, bitmaps, border width.
int32_t DrawHotButton(HWND button, DRAWITEMSTRUCT* item);
// 3D edge bands along the inside of a region, raised or (pushed) sunken.
int32_t DrawRegionEdge(HWND button, HDC dc, HRGN region, int32_t pushed, int32_t width);
// Places and draws a caption in textRect for the button's style and state.
void ButtonTextLayout(HDC dc, HWND button, const char* caption, UINT state, RECT* textRect);
// Adds ODS_DEFAULT to the item state when the parent names the button as its
// default button.
void ApplyDefaultButtonState(HWND button, DRAWITEMSTRUCT* item);

// comctl32 is mapped on first use only: a program without common controls or
// hot-tracking buttons never loads it.
namespace controls {

// InitCommonControls, once per process (guarded by CommonControlsReady).
void EnsureCommonControls();
// A function of comctl32, mapping it if needed; null when it has none.
FARPROC CommonControlsProc(const char* name);

}  // namespace controls

// InitCommonControls has run (guarded, once per process); "riched32.dll",
// loaded for the first rich edit.
extern int32_t CommonControlsReady;
extern HMODULE RichEditLibrary;
