// The hot-tracking button's subclass procedure: it follows the pointer and
// paints itself through DrawHotButton. Apart from the rest of the button
// procedures, so that a program that makes no such button links none of it.
#include "rt_core.h"
#include "subclass_common.h"

namespace {

constexpr controls::PropertyRule kHotButtonRules[] = {
    {RT_PROP_HOT_BRUSH, controls::kHotBrushSlot},
    {RT_PROP_BACK_BRUSH, controls::kBackBrushSlot},
    {RT_PROP_BACK_COLOUR, controls::kNoObject},
    {RT_PROP_TEXT_COLOUR, controls::kNoObject},
    {RT_PROP_HOT, controls::kNoObject},
    {RT_PROP_HOT_COLOUR, controls::kNoObject},
    {RT_PROP_BORDER_WIDTH, controls::kNoObject},
    {RT_PROP_HOT_BITMAP, controls::kHotBitmapSlot},
    {RT_PROP_NORMAL_BITMAP, controls::kNormalBitmapSlot},
    {RT_PROP_PUSHED_BITMAP, controls::kPushedBitmapSlot},
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

// The platform watches for the pointer to leave this button. It starts to
// only while the pointer is over the window asked for, and asking costs no
// round trip.
bool LeaveTracked(HWND window) {
    TRACKMOUSEEVENT query{};
    query.cbSize = sizeof(query);
    query.dwFlags = TME_QUERY;
    return TrackMouseEvent(&query) && (query.dwFlags & TME_LEAVE) && query.hwndTrack == window;
}

void SetHot(HWND window, bool hot) {
    if (hot == (GetPropA(window, RT_PROP_HOT) != nullptr)) return;
    if (hot) {
        SetPropA(window, RT_PROP_HOT, reinterpret_cast<HANDLE>(1));
    } else {
        RemovePropA(window, RT_PROP_HOT);
    }
    InvalidateRect(window, nullptr, TRUE);
}

// Hot exactly while the pointer is over the button. A move while the leave
// is watched for changes nothing; any other move may have been handled
// after the pointer moved on, so tracking decides. A leave may be stale as
// well: the pointer's place decides, and tracking starts again only with the
// pointer over the button (elsewhere the platform may report a leave at
// once, and again, for ever).
void FollowPointer(HWND window, UINT message) {
    bool over;
    if (message == WM_MOUSEMOVE) {
        if (LeaveTracked(window)) return;
        TrackMouseLeave(window);
        over = LeaveTracked(window);
    } else {
        POINT at;
        over = GetCursorPos(&at) && WindowFromPoint(at) == window;
        if (over) TrackMouseLeave(window);
    }
    SetHot(window, over);
}

}  // namespace

// Its background is its face, so it answers no brush; it follows the pointer.
LRESULT CALLBACK HotButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC previous = controls::PreviousProc(window);
    switch (message) {
        case ColourRequest:
            return controls::AnswerColours(window, wParam, false);
        case WM_DRAWITEM:
            DrawHotButton(window, reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return controls::PassOn(previous, window, message, wParam, lParam);
        case WM_MOUSEMOVE:
        case WM_MOUSELEAVE:
            FollowPointer(window, message);
            return controls::PassOn(previous, window, message, wParam, lParam);
        default:
            return controls::ImageControlProc(window, message, wParam, lParam, CONTROL_HOT_BUTTON,
                                              {kHotButtonRules, sizeof(kHotButtonRules) / sizeof(kHotButtonRules[0]),
                                               BM_GETIMAGE},
                                              previous);
    }
}

namespace {

void NoteHotObjects(HWND button) {
    for (const controls::PropertyRule& rule : kHotButtonRules) {
        if (rule.slot == controls::kNoObject) continue;
        if (HGDIOBJ held = GetPropA(button, rule.name)) controls::NoteHolder(button, rule.slot, held);
    }
}

}  // namespace

void HotButtonsUsed() {
    controls::hotButtonProcedure = controls::Opaque(HotButtonProc);
    controls::noteHotObjects = controls::Opaque(NoteHotObjects);
}
