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

bool ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer) {
    *answer = 0;
    if (message == WM_DRAWITEM) {
        // Identifier 0 is a menu item: nothing to reflect to. The item names
        // its control; looking it up by identifier walks every child.
        if (wParam == 0) return false;
        *answer = SendMessageA(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem, WM_DRAWITEM, wParam, lParam);
        return true;
    }
    if (!IsReflectedMessage(message) || lParam == 0) return false;
    *answer = SendMessageA(reinterpret_cast<HWND>(lParam), ColourRequest, wParam, lParam);
    return true;
}
