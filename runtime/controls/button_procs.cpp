// The subclass procedures of owner-drawn push buttons, hot-tracking buttons
// and labels: image loading from the text, drawing hand-off, hot tracking.
#include "rt_core.h"
#include "subclass_common.h"

namespace {

// Hot exactly while the pointer is over the button. Mouse messages can be
// handled after the pointer has moved on, and the platform posts no leave
// message for tracking begun with the pointer already outside; so each
// message re-arms the tracking and the pointer's place, read after that,
// decides.
void FollowPointer(HWND window) {
    controls::TrackMouseLeave(window);
    POINT at;
    const bool over = GetCursorPos(&at) && WindowFromPoint(at) == window;
    if (over == (GetPropA(window, RT_PROP_HOT) != nullptr)) return;
    if (over) {
        SetPropA(window, RT_PROP_HOT, reinterpret_cast<HANDLE>(1));
    } else {
        RemovePropA(window, RT_PROP_HOT);
    }
    InvalidateRect(window, nullptr, TRUE);
}

// Push buttons, hot-tracking buttons and labels: an image from the text,
// colour answers from their properties, and the push button paints itself.
// What only a hot-tracking button does is in its own procedure, so that a
// program without one links none of it, however its compiler inlines.
LRESULT ImageControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int32_t type,
                         const controls::ControlKind& kind, WNDPROC previous) {
    switch (message) {
        case WM_SETTEXT:
            controls::LoadImageIfPicture(window, type, reinterpret_cast<const char*>(lParam));
            break;
        case WM_DESTROY:
            controls::ReleaseControl(window, kind, previous);
            break;
        case ColourRequest:
            return controls::AnswerColours(window, wParam, GetPropA(window, RT_PROP_BACK_BRUSH));
        case WM_DRAWITEM:
            if (type == CONTROL_PUSH_BUTTON) DrawPushButton(window, reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            break;
        default:
            break;
    }
    return controls::PassOn(previous, window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK PushButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ImageControlProc(window, message, wParam, lParam, CONTROL_PUSH_BUTTON, controls::kPushButtonKind,
                            controls::PreviousProc(window));
}

// Its background is its face, so it answers no brush; it follows the pointer.
LRESULT CALLBACK HotButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC previous = controls::PreviousProc(window);
    switch (message) {
        case ColourRequest:
            return controls::AnswerColours(window, wParam, GetStockObject(NULL_BRUSH));
        case WM_DRAWITEM:
            DrawHotButton(window, reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return controls::PassOn(previous, window, message, wParam, lParam);
        case WM_MOUSEMOVE:
        case WM_MOUSELEAVE:
            FollowPointer(window);
            return controls::PassOn(previous, window, message, wParam, lParam);
        default:
            return ImageControlProc(window, message, wParam, lParam, CONTROL_HOT_BUTTON, controls::kHotButtonKind,
                                    previous);
    }
}

LRESULT CALLBACK StaticControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ImageControlProc(window, message, wParam, lParam, CONTROL_LABEL, controls::kLabelKind,
                            controls::PreviousProc(window));
}
