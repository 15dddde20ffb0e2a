// The hot-tracking button's subclass procedure: it follows the pointer and
// paints itself through DrawHotButton. Apart from the rest of the button
// procedures, so that a program that makes no such button links none of it.
#include "rt_core.h"
#include "subclass_common.h"

namespace {

constexpr controls::PropertyRule kHotButtonRules[] = {
    {RT_PROP_HOT_BRUSH, true},     {RT_PROP_BACK_BRUSH, true},    {RT_PROP_BACK_COLOUR, false},
    {RT_PROP_TEXT_COLOUR, false},  {RT_PROP_HOT, false},          {RT_PROP_HOT_COLOUR, false},
    {RT_PROP_BORDER_WIDTH, false}, {RT_PROP_HOT_BITMAP, true},    {RT_PROP_NORMAL_BITMAP, true},
    {RT_PROP_PUSHED_BITMAP, true},
};

void TrackMouseLeave(HWND window) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = window;
    typedef BOOL(WINAPI * TrackProc)(TRACKMOUSEEVENT*);
    if (FARPROC proc = controls::CommonControlsProc("_TrackMouseEvent")) {
        reinterpret_cast<TrackProc>(reinterpret_cast<void*>(proc))(&track);
    } else {
        TrackMouseEvent(&track);
    }
}

// Hot exactly while the pointer is over the button. Mouse messages can be
// handled after the pointer has moved on, and the platform posts no leave
// message for tracking begun with the pointer already outside; so each
// message re-arms the tracking and the pointer's place, read after that,
// decides.
void FollowPointer(HWND window) {
    TrackMouseLeave(window);
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

}  // namespace

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
            return controls::ImageControlProc(window, message, wParam, lParam, CONTROL_HOT_BUTTON,
                                              {kHotButtonRules, sizeof(kHotButtonRules) / sizeof(kHotButtonRules[0]),
                                               BM_GETIMAGE},
                                              previous);
    }
}

void HotButtonsUsed() { controls::hotButtonProcedure = controls::Opaque(HotButtonProc); }
