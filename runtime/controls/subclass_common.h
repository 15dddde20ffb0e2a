// What the four subclass procedures share: the previous procedure, the
// colour answer and the parts of the clean-up at WM_DESTROY.
#pragma once

#include <windows.h>

#include "rt_controls_internal.h"

namespace controls {

inline WNDPROC PreviousProc(HWND window) {
    return reinterpret_cast<WNDPROC>(GetPropA(window, RT_PROP_PREVIOUS_PROC));
}

inline LRESULT PassOn(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return previous ? CallWindowProcA(previous, window, message, wParam, lParam) : 0;
}

// Sets the text and background colours on the DC in wParam; returns the brush.
LRESULT AnswerColours(HWND window, WPARAM dc, HGDIOBJ brush);

// Deletes the image in the button or static image slot.
void ReleaseImage(HWND window, UINT getImageMessage);

// Removes BBRUSH, BGRND and FGRND and deletes the brush.
void RemoveColourProperties(HWND window);

// Puts the previous procedure back so that it sees WM_DESTROY itself.
void RestorePreviousProc(HWND window, WNDPROC previous);

// Removes a property and deletes the GDI object it held.
void DeletePropertyObject(HWND window, const char* name);

// Loads the bitmap a bitmap button's or picture label's text names into its
// image slot, deleting the image that was there.
void LoadImageFromText(HWND window, const char* text, UINT getImageMessage, UINT setImageMessage);
// The same when the control's type and style make it a bitmap button (types
// 1 and 20 with BS_BITMAP) or a picture label (type 7 with SS_BITMAP).
void LoadImageIfPicture(HWND window, int32_t type, const char* text);

// The caption of an owner-drawn button and the rectangle it is laid out in:
// inset for multi-line buttons, one pixel right and down when pushed.
RECT CaptionLayout(HWND button, const DRAWITEMSTRUCT* item, char (&caption)[255]);

}  // namespace controls
