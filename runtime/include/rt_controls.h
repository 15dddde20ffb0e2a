// Control appearance: colour properties, the subclass procedures that answer
// colour requests and paint owner-drawn buttons, and attaching controls.
#pragma once

#include <windows.h>

#include <cstdint>

// Window properties of controls. Colours are raw COLORREF values; GDI objects
// stored in BBRUSH, in HBRUSH, HOTBMP, NORBMP and SELBMP (hot-tracking
// buttons; other controls leave them alone) and the image of an owner-drawn
// push button, hot-tracking button or label belong to the
// control and are deleted when it is destroyed, each once, and only when no
// other attached control holds it (in a property or its image slot). The
// runtime learns that a control holds an object when an image is set
// through it, when it answers a colour request or draws with it, and, for a
// control it has not yet read, before an object would go (each control is
// read once); the controls of one dialog or window are all counted before
// any of their objects go. So an object put with SetPropA into several
// controls, in one window or several, drawn with or not, goes with the last
// of them. An object put into a control after the runtime has read it
// counts from when the control next draws with it.
// To recolour a control at run time, set FGRND and BGRND with SetPropA and
// put a new brush in BBRUSH; the brush taken out is then the program's to
// delete (SetPropA replaces, it deletes nothing). Invalidate the control to
// see the change. A control's font is never deleted by
// the runtime: the runtime makes none, a dialog's font is the dialog
// manager's, comctl32 controls keep their own, and a font given with
// WM_SETFONT stays with whoever created it (it may serve several controls).
#define RT_PROP_PREVIOUS_PROC "LPFN"
#define RT_PROP_TEXT_COLOUR "FGRND"
#define RT_PROP_BACK_COLOUR "BGRND"
#define RT_PROP_BACK_BRUSH "BBRUSH"
#define RT_PROP_NOTIFY_TAB "NOTIFY_TAB"
#define RT_PROP_NOTIFY_ENTER "NOTIFY_ENTER"
#define RT_PROP_HOT "DOHOT"  // 1 while the pointer is over a hot-tracking button
#define RT_PROP_HOT_BRUSH "HBRUSH"
#define RT_PROP_HOT_COLOUR "HTCLR"
#define RT_PROP_BORDER_WIDTH "BORDERWIDTH"
#define RT_PROP_HOT_BITMAP "HOTBMP"
#define RT_PROP_NORMAL_BITMAP "NORBMP"
#define RT_PROP_PUSHED_BITMAP "SELBMP"

// A parent asks a control for its colours with this message (wParam the
// device context, lParam the control); the answer is the background brush.
constexpr UINT ColourRequest = 0x0019;
// WM_COMMAND notification codes sent for Tab and Enter typed into a control
// that carries NOTIFY_TAB / NOTIFY_ENTER.
constexpr int32_t TabNotification = 0x0A01;
constexpr int32_t EnterNotification = 0x0A00;

// Control types of ControlAdd and ControlSubclass.
enum ControlType : int32_t {
    CONTROL_PUSH_BUTTON = 1,  // owner-drawn
    CONTROL_CHECK_BOX = 2,
    CONTROL_RADIO_BUTTON = 3,
    CONTROL_EDIT = 4,
    CONTROL_LIST_BOX = 5,
    CONTROL_COMBO_BOX = 6,
    CONTROL_LABEL = 7,
    CONTROL_SCROLL_BAR = 8,
    CONTROL_GROUP_BOX = 9,
    CONTROL_RICH_EDIT = 10,
    CONTROL_LIST_VIEW = 11,
    CONTROL_STATUS_BAR = 12,
    CONTROL_SYSTEM_BUTTON = 13,  // drawn by the system
    CONTROL_TREE_VIEW = 14,
    CONTROL_HOT_BUTTON = 20,     // owner-drawn, hot-tracking
    CONTROL_BY_CLASS = 99,
};

// Tags of a typed argument: the low 16 bits are the kind of the value, a
// non-zero high word says the value is the address of the variable.
enum : uint32_t {
    TAG_STRING = 0,
    TAG_INT = 2,
    TAG_RECORD = 15,
    TAG_HANDLE = 19,
    TAG_BY_REFERENCE = 0x10000,
};
struct TypedArgument {
    intptr_t value;
    uint32_t tag;
};

// Sends message to the window named by the target (a handle, a handle
// variable, or a WindowRecord), or to its child controlId when that is
// non-zero. Returns SendMessageA's result, 0 when there is no such window.
LRESULT SendWindowMessage(intptr_t targetValue, uint32_t targetTag, UINT message, WPARAM wParam,
                          intptr_t lParamValue, uint32_t lParamTag, int32_t controlId);

// Writes the colour properties of the control type and installs its subclass
// procedure. A bitmap button or picture label loads the image its text names:
// a text with a colon is a file path (C:\pictures\face.bmp), any other text
// a bitmap resource of the program, by number (12) or name (LOGO); so a
// relative path without a drive is looked up as a resource name; the image
// follows the text when it is set again. A control that is attached already
// is left as it is. Returns 0.
int32_t ControlSubclass(HWND control, int32_t type);
