// The subclass procedures of owner-drawn push buttons and labels, and what
// hot-tracking buttons share with them: image loading from the text, the
// drawing hand-off.
#include "rt_core.h"
#include "subclass_common.h"

namespace controls {

LRESULT ImageControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int32_t type,
                         const ControlKind& kind, WNDPROC previous) {
    switch (message) {
        case WM_SETTEXT:
            LoadImageIfPicture(window, type, reinterpret_cast<const char*>(lParam));
            break;
        case WM_DESTROY:
            ReleaseControl(window, kind, previous);
            break;
        case ColourRequest:
            return AnswerColours(window, wParam, true);
        case BM_SETIMAGE:
        case STM_SETIMAGE:
            // Whatever the program hands the control is its own from now on
            // (the other kind's message sets nothing, and is never sent).
            NoteHolder(window, kImageSlot, reinterpret_cast<HGDIOBJ>(lParam));
            break;
        case WM_DRAWITEM:
            if (type == CONTROL_PUSH_BUTTON) DrawPushButton(window, reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            break;
        default:
            break;
    }
    return PassOn(previous, window, message, wParam, lParam);
}

}  // namespace controls

LRESULT CALLBACK PushButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return controls::ImageControlProc(window, message, wParam, lParam, CONTROL_PUSH_BUTTON,
                                      controls::PushButtonKind(), controls::PreviousProc(window));
}

LRESULT CALLBACK StaticControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return controls::ImageControlProc(window, message, wParam, lParam, CONTROL_LABEL, controls::LabelKind(),
                                      controls::PreviousProc(window));
}
