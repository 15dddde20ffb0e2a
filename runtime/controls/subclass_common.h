// What the four subclass procedures share: the previous procedure, the
// colour answer, the one release path at WM_DESTROY, and drawing pieces.
#pragma once

#include <windows.h>

#include "rt_controls_internal.h"

namespace controls {

// The value, hidden from the optimiser. Seeing that a switch variable only
// ever holds one function, a compiler calls that function directly where the
// variable is read, and the program links it whether it sets the switch or
// not.
template <typename T>
inline T Opaque(T value) {
    asm("" : "+r"(value));
    return value;
}

inline WNDPROC PreviousProc(HWND window) {
    return reinterpret_cast<WNDPROC>(GetPropA(window, RT_PROP_PREVIOUS_PROC));
}

inline LRESULT PassOn(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return previous ? CallWindowProcA(previous, window, message, wParam, lParam) : 0;
}

inline COLORREF ColourProperty(HWND window, const char* name) {
    return static_cast<COLORREF>(reinterpret_cast<uintptr_t>(GetPropA(window, name)));
}

// A rectangle grown (shrunk, for negative amounts) and moved in place: the
// drawing code's only uses of two more platform imports.
inline void RectInflate(RECT& r, int dx, int dy) {
    r.left -= dx;
    r.top -= dy;
    r.right += dx;
    r.bottom += dy;
}
inline void RectOffset(RECT& r, int dx, int dy) {
    r.left += dx;
    r.top += dy;
    r.right += dx;
    r.bottom += dy;
}

// Sets the text and background colours on the DC in wParam; returns
// "BBRUSH", noted as held by the control, or with ownBrush false the null
// brush.
LRESULT AnswerColours(HWND window, WPARAM dc, bool ownBrush);

// The slots in which a control holds a GDI object it owns: five properties
// and the control's image.
enum : uint8_t {
    kNoObject,
    kBackBrushSlot,
    kHotBrushSlot,
    kHotBitmapSlot,
    kNormalBitmapSlot,
    kPushedBitmapSlot,
    kImageSlot,
    kLastSlot = kImageSlot
};

// What the runtime met in a control's slot (null: nothing any more). An
// object goes only when no control it was noted in still holds it.
void NoteHolder(HWND control, uint8_t slot, HGDIOBJ object);
// Deletes objects that controls let go of, unless another noted holder keeps
// them; while a window and its children are being destroyed, only once all
// of them have gone.
void LetGo(const HGDIOBJ* objects, size_t count);
// A control attached (hot: a hot-tracking button, with four more objects),
// and one released: before an object goes for want of a known holder, what
// the attached and unreleased controls hold is read, each control once.
void NoteAttached(HWND control, bool hot);
void NoteReleased(HWND control);


// The properties a subclass procedure's controls carry, each with the slot
// of the GDI object the control owns in it (kNoObject: a plain value), and
// the image slot (0: none) whose image the control owns. Names are held in
// place, not pointed to: a table of addresses would need fixing up wherever
// the program is loaded.
struct PropertyRule {
    char name[15];
    uint8_t slot;
};
struct ControlKind {
    const PropertyRule* properties;
    size_t count;
    UINT getImageMessage;
};
// Generic controls carry the colours and the notification flags; push
// buttons and labels the colours alone, with an image slot. Kinds are made
// where they are used, for the same reason; the hot-tracking button's is
// its procedure's own.
extern const PropertyRule kColourRules[5];
inline ControlKind GenericKind() { return {kColourRules, 5, 0}; }
inline ControlKind PushButtonKind() { return {kColourRules, 3, BM_GETIMAGE}; }
inline ControlKind LabelKind() { return {kColourRules, 3, STM_GETIMAGE}; }

// The release at WM_DESTROY: removes every property of the kind, deletes
// what the control owns, then puts the previous procedure back so that it
// sees WM_DESTROY itself.
void ReleaseControl(HWND window, const ControlKind& kind, WNDPROC previous);

// A rectangle outline in the DC's pen, not filled: the focus and default
// mark of owner-drawn buttons.
void DrawOutline(HDC dc, const RECT& r, int scale = 1);  // scale lines, each inside the one before
// The dotted focus rectangle one line inside the face, while the button has
// the focus and the system shows focus cues (once the keyboard is used).
void DrawFocusMark(HWND button, HDC dc, RECT face, UINT state, int scale);
// Device pixels per 96-DPI pixel of the lines a button draws: 1 up to 143
// DPI, 2 from 144.
int DrawingScale(HWND window);
// A push button's 3D edge: at scale 1 the system's own frame; above, each of
// its two bands scale pixels wide. Shrinks r to what lies inside.
void DrawButtonEdge(HDC dc, RECT* r, bool pushed, int scale);

// Deletes the image in the control's slot unless another control holds it.
void ReleaseImage(HWND window, UINT getImageMessage);

// The switches PictureControlsUsed and HotButtonsUsed set; until then nothing
// refers to what they name. The loader puts the bitmap a text names into the
// control's image slot, deleting the image that was there.
extern void (*pictureLoader)(HWND window, const char* text, UINT getImageMessage, UINT setImageMessage);
extern WNDPROC hotButtonProcedure;
// Notes every object a hot-tracking button holds in its properties.
extern void (*noteHotObjects)(HWND button);

// The loader, when the control's type and style make it a bitmap button
// (types 1 and 20 with BS_BITMAP) or a picture label (type 7 with SS_BITMAP).
void LoadImageIfPicture(HWND window, int32_t type, const char* text);  // text null: the window's own

// What push buttons, hot-tracking buttons and labels do alike: an image
// from the text, colour answers from their properties, the push button's
// drawing; everything else goes to the previous procedure.
LRESULT ImageControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int32_t type,
                         const ControlKind& kind, WNDPROC previous);

// The caption of an owner-drawn button and the rectangle it is laid out in:
// inset for multi-line buttons, one pixel right and down when pushed.
RECT CaptionLayout(HWND button, const DRAWITEMSTRUCT* item, char (&caption)[255]);

}  // namespace controls
