// The subclass procedure of most control types: colour answers, Tab/Enter
// notifications to the parent, clean-up at WM_DESTROY.
#include "subclass_common.h"

namespace {

// Tells the parent, as an ordinary WM_COMMAND from the control.
void Notify(HWND control, int32_t code) {
    const WPARAM wParam = (static_cast<WPARAM>(code) << 16) | static_cast<WPARAM>(ControlId(control) & 0xFFFF);
    SendWindowMessage(reinterpret_cast<intptr_t>(GetParent(control)), TAG_HANDLE, WM_COMMAND, wParam,
                      reinterpret_cast<intptr_t>(&control), TAG_BY_REFERENCE | TAG_HANDLE, 0);
}

}  // namespace

LRESULT CALLBACK GenericControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC previous = controls::PreviousProc(window);
    switch (message) {
        case WM_DESTROY:
            controls::ReleaseControl(window, controls::GenericKind(), previous);
            break;
        case ColourRequest:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            return controls::AnswerColours(window, wParam, true);
        case WM_CHAR:
            if (wParam == '\t' && GetPropA(window, RT_PROP_NOTIFY_TAB)) {
                Notify(window, TabNotification);
                return 1;
            }
            if (wParam == '\r' && GetPropA(window, RT_PROP_NOTIFY_ENTER)) {
                Notify(window, EnterNotification);
                return 1;
            }
            break;
        default:
            break;
    }
    return controls::PassOn(previous, window, message, wParam, lParam);
}
