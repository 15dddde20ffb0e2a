// The subclass procedures of owner-drawn push buttons, hot-tracking buttons
// and labels: image loading from the text, drawing hand-off, hot tracking.
#include "rt_core.h"
#include "subclass_common.h"

namespace {

// Push buttons and labels: image from the text, colour answers from their
// properties. Only the push button paints itself.
LRESULT ImageControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int32_t type) {
    const WNDPROC previous = controls::PreviousProc(window);
    switch (message) {
        case WM_SETTEXT:
            controls::LoadImageIfPicture(window, type, reinterpret_cast<const char*>(lParam));
            break;
        case WM_DESTROY:
            controls::ReleaseControl(window, type == CONTROL_LABEL ? controls::kLabelKind : controls::kPushButtonKind,
                                     previous);
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

void StartHotTracking(HWND window) {
    if (GetPropA(window, RT_PROP_HOT)) return;
    controls::TrackMouseLeave(window);
    SetPropA(window, RT_PROP_HOT, reinterpret_cast<HANDLE>(1));
    InvalidateRect(window, nullptr, TRUE);
}

void EndHotTracking(HWND window) {
    RemovePropA(window, RT_PROP_HOT);
    InvalidateRect(window, nullptr, TRUE);
}

}  // namespace

LRESULT CALLBACK PushButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ImageControlProc(window, message, wParam, lParam, CONTROL_PUSH_BUTTON);
}

LRESULT CALLBACK HotButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC previous = controls::PreviousProc(window);
    switch (message) {
        case WM_SETTEXT:
            controls::LoadImageIfPicture(window, CONTROL_HOT_BUTTON, reinterpret_cast<const char*>(lParam));
            break;
        case WM_DESTROY:
            controls::ReleaseControl(window, controls::kHotButtonKind, previous);
            break;
        case ColourRequest:
            return controls::AnswerColours(window, wParam, GetStockObject(NULL_BRUSH));
        case WM_DRAWITEM:
            DrawHotButton(window, reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            break;
        case WM_MOUSEMOVE:
            StartHotTracking(window);
            break;
        case WM_MOUSELEAVE:
            EndHotTracking(window);
            break;
        default:
            break;
    }
    return controls::PassOn(previous, window, message, wParam, lParam);
}

LRESULT CALLBACK StaticControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ImageControlProc(window, message, wParam, lParam, CONTROL_LABEL);
}
