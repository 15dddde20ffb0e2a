// Drawing on a window's backing bitmap, in 96-DPI pixels or device pixels.
#include "rt_controls_internal.h"
#include "rt_dpi.h"
#include "rt_windows_internal.h"

void DeviceUnitsSave(HDC dc) {
    SaveDC(dc);
    SetMapMode(dc, MM_TEXT);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    // Fails harmlessly unless the program chose the advanced mode.
    ModifyWorldTransform(dc, nullptr, MWT_IDENTITY);
}

void DrawingDcFollowDpi(HDC dc, int32_t dpi) {
    SIZE extent{};
    if (GetMapMode(dc) == MM_ANISOTROPIC && GetWindowExtEx(dc, &extent) && extent.cx == DPI_BASE &&
        extent.cy == DPI_BASE) {
        SetViewportExtEx(dc, dpi, dpi, nullptr);
    }
}

HDC WindowDrawBegin(WindowRecord* record, uint32_t units) {
    if (!record || !record->hwnd || !record->hasBackBitmap || !record->backBitmap || record->drawDc ||
        units > DRAW_DEVICE_PIXELS) {
        return nullptr;
    }
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return nullptr;
    if (!SelectObject(dc, record->backBitmap)) {
        DeleteDC(dc);
        return nullptr;
    }
    if (units != DRAW_DEVICE_PIXELS) {
        // Pen widths and font heights are logical too: lines and text are
        // drawn at the device's resolution, not stretched.
        SetMapMode(dc, MM_ANISOTROPIC);
        SetWindowExtEx(dc, DPI_BASE, DPI_BASE, nullptr);
        DrawingDcFollowDpi(dc, WindowDpi(record->hwnd));
    }
    if (record->bkMode) SetBkMode(dc, record->bkMode);
    if (record->rop2) SetROP2(dc, record->rop2);
    SetBkColor(dc, record->bkColor);
    SetBoundsRect(dc, nullptr, DCB_ENABLE | DCB_RESET);
    record->drawDc = dc;
    return dc;
}

int32_t WindowDrawEnd(WindowRecord* record) {
    if (!record || !record->drawDc) return 0;
    HDC dc = record->drawDc;
    record->drawDc = nullptr;
    RECT drawn{};
    const bool any = (GetBoundsRect(dc, &drawn, DCB_RESET) & DCB_SET) == DCB_SET;
    if (any) {
        LPtoDP(dc, reinterpret_cast<POINT*>(&drawn), 2);
        // Scaled edges round either way; antialiased text reaches a pixel out.
        InflateRect(&drawn, 2, 2);
    }
    DeleteDC(dc);
    if (any && record->hwnd) InvalidateRect(record->hwnd, &drawn, FALSE);
    return 1;
}
