// Centring a window over its parent, owner or the work area.
#include "rt_winutil_internal.h"

int CentredPosition(LONG low, LONG high, int size) { return (low + high) / 2 - size / 2; }

int ClampedPosition(int position, int size, LONG low, LONG high) {
    if (position < low) return low;
    if (position + size > high) return high - size;
    return position;
}

int32_t CenterWindow(const WindowRecord* record) {
    if (!record || !record->hwnd) return 0;
    HWND window = record->hwnd;
    const bool child = (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) != 0;
    HWND relative = child ? GetParent(window) : GetWindow(window, GW_OWNER);
    RECT own;
    GetWindowRect(window, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;

    RECT reference;
    RECT bounds;
    if (child) {
        GetClientRect(relative, &bounds);
        GetClientRect(relative, &reference);
        MapWindowPoints(relative, relative, reinterpret_cast<POINT*>(&reference), 2);
    } else {
        if (relative) {
            const LONG_PTR ownerStyle = GetWindowLongPtrA(relative, GWL_STYLE);
            if ((ownerStyle & WS_MINIMIZE) || !(ownerStyle & WS_VISIBLE)) relative = nullptr;
        }
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &bounds, 0);
        if (relative) {
            GetWindowRect(relative, &reference);
        } else {
            reference = bounds;
        }
    }
    const int x = ClampedPosition(CentredPosition(reference.left, reference.right, width), width, bounds.left,
                                  bounds.right);
    const int y = ClampedPosition(CentredPosition(reference.top, reference.bottom, height), height, bounds.top,
                                  bounds.bottom);
    SetWindowPos(window, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}
