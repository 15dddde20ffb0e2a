// Reflecting colour and drawing requests from a parent to the control.
#include "rt_controls_internal.h"

bool IsReflectedMessage(UINT message) {
    switch (message) {
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_DRAWITEM:
            return true;
        default:
            return false;
    }
}

bool ReflectToControl(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer) {
    *answer = 0;
    if (message == WM_DRAWITEM) {
        // Identifier 0 is a menu item: nothing to reflect to.
        if (wParam == 0) return false;
        *answer = SendMessageA(GetDlgItem(parent, static_cast<int>(wParam)), WM_DRAWITEM, wParam, lParam);
        return true;
    }
    if (!IsReflectedMessage(message) || lParam == 0) return false;
    *answer = SendMessageA(reinterpret_cast<HWND>(lParam), ColourRequest, wParam, lParam);
    return true;
}
