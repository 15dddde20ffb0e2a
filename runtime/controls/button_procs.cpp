// The subclass procedures of owner-drawn push buttons and labels, and what
// hot-tracking buttons share with them: image loading from the text, the
// drawing hand-off.
#include "rt_core.h"
#include "subclass_common.h"

namespace controls {

namespace {

// Owner-drawn push buttons take part in the dialog manager's default-button
// logic as the system's push buttons do: it asks them what they are and
// moves the default mark with BM_SETSTYLE, which must not reach the button
// itself (the type bits it would set replace owner drawing).
bool PushLike(HWND window, int32_t type) {
    return (type == CONTROL_PUSH_BUTTON || type == CONTROL_HOT_BUTTON) &&
           (GetWindowLongPtrA(window, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
}

}  // namespace

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
        case WM_GETDLGCODE:
            if (!PushLike(window, type)) break;
            return DLGC_BUTTON |
                   (KeptValue(window, KEPT_DEFAULT_MARK) == DEFAULT_MARK_SET ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        case BM_SETSTYLE:
            if (!PushLike(window, type) || (wParam & BS_TYPEMASK) > BS_DEFPUSHBUTTON) break;
            {
                const uintptr_t mark = (wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? DEFAULT_MARK_SET : DEFAULT_MARK_NOT;
                const bool changed = KeptValue(window, KEPT_DEFAULT_MARK) != mark;
                KeepValue(window, KEPT_DEFAULT_MARK, mark);
                if (changed && lParam) InvalidateRect(window, nullptr, FALSE);
            }
            return 0;
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
