// Hot-tracking buttons: face colour or bitmaps by hot state, any window
// region, border widths and the 3D edge along a region.
#include "subclass_common.h"

namespace {

COLORREF ColourProperty(HWND window, const char* name) {
    return static_cast<COLORREF>(reinterpret_cast<uintptr_t>(GetPropA(window, name)));
}

// Paints region minus itself moved by (d, d): the top-left band for d > 0,
// the bottom-right band for d < 0.
void PaintBand(HDC dc, HRGN region, HRGN scratch, int d, COLORREF colour) {
    CombineRgn(scratch, region, nullptr, RGN_COPY);
    OffsetRgn(scratch, d, d);
    CombineRgn(scratch, region, scratch, RGN_DIFF);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRgn(dc, scratch, brush);
    DeleteObject(brush);
}

void BlitIntoRegion(HDC dc, HDC memory, HBITMAP bitmap, HRGN region, const RECT& item) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    SelectClipRgn(dc, region);
    BitBlt(dc, 0, 0, item.right - item.left, item.bottom - item.top, memory, 0, 0, SRCCOPY);
    SelectClipRgn(dc, nullptr);
    SelectObject(memory, previous);
}

void BlitIntoRect(HDC dc, HDC memory, HBITMAP bitmap, const RECT& r) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
}

// Lightens what is there by OR-ing the colour onto every pixel.
void MergeColour(HDC dc, HRGN region, HBRUSH brush) {
    const int previous = SetROP2(dc, R2_MERGEPEN);
    FillRgn(dc, region, brush);
    SetROP2(dc, previous);
}

}  // namespace

int32_t DrawRegionEdge(HWND, HDC dc, HRGN region, int32_t pushed, int32_t width) {
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF darkShadow = GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF light = GetSysColor(COLOR_3DLIGHT);
    const COLORREF p = pushed ? darkShadow : highlight;
    const COLORREF q = pushed ? light : shadow;
    const COLORREF r = pushed ? shadow : light;
    const COLORREF s = pushed ? highlight : darkShadow;
    HRGN scratch = CreateRectRgn(0, 0, 0, 0);
    if (width == 2) {
        PaintBand(dc, region, scratch, 2, p);
        PaintBand(dc, region, scratch, -2, q);
        PaintBand(dc, region, scratch, 1, r);
        PaintBand(dc, region, scratch, -1, s);
    } else {
        PaintBand(dc, region, scratch, 1, p);
        PaintBand(dc, region, scratch, -1, s);
    }
    DeleteObject(scratch);
    return 0;
}

int32_t DrawHotButton(HWND button, DRAWITEMSTRUCT* item) {
    if (!item) return 0;
    const int32_t borderWidth =
        static_cast<int32_t>(reinterpret_cast<intptr_t>(GetPropA(button, RT_PROP_BORDER_WIDTH)));
    bool hot = false;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const bool hasRegion = region && GetWindowRgn(button, region) != ERROR;
    auto* const hotBitmap = static_cast<HBITMAP>(GetPropA(button, RT_PROP_HOT_BITMAP));
    auto* const normalBitmap = static_cast<HBITMAP>(GetPropA(button, RT_PROP_NORMAL_BITMAP));
    auto* const pushedBitmap = static_cast<HBITMAP>(GetPropA(button, RT_PROP_PUSHED_BITMAP));
    HDC memory = CreateCompatibleDC(item->hDC);

    ApplyDefaultButtonState(button, item);
    HDC dc = item->hDC;
    const UINT state = item->itemState;
    const RECT& itemRect = item->rcItem;
    RECT frame = itemRect;
    char caption[255];
    RECT text = controls::CaptionLayout(button, item, caption);
    const LONG style = GetWindowLongA(button, GWL_STYLE);
    const bool pushed = (state & ODS_SELECTED) != 0;

    COLORREF face = ColourProperty(button, RT_PROP_BACK_COLOUR);
    const bool hotBrush = GetPropA(button, RT_PROP_HOT_BRUSH) != nullptr;
    if (GetPropA(button, RT_PROP_HOT) && !(state & ODS_DISABLED)) {
        hot = true;
        if (hotBrush) face = ColourProperty(button, RT_PROP_HOT_COLOUR);
    }
    // A pushed button shows the bitmap handed over for that state, when
    // there is one, before any hot or normal face.
    HBITMAP faceBitmap = nullptr;
    bool mergeHotColour = false;
    if (pushed && pushedBitmap) {
        faceBitmap = pushedBitmap;
    } else if (hot && hotBitmap) {
        faceBitmap = hotBitmap;
    } else if (normalBitmap) {
        faceBitmap = normalBitmap;
        mergeHotColour = hot && hotBrush;
    }

    if (hasRegion) {
        HBRUSH brush = CreateSolidBrush(face);
        if (faceBitmap) {
            BlitIntoRegion(dc, memory, faceBitmap, region, itemRect);
            if (mergeHotColour) MergeColour(dc, region, brush);
        } else {
            FillRgn(dc, region, brush);
        }
        DeleteObject(brush);
    }

    if (borderWidth != 0) {
        if (style & BS_FLAT) {
            const COLORREF borderColour = GetSysColor(COLOR_3DDKSHADOW);
            if (hasRegion) {
                HBRUSH brush = CreateSolidBrush(borderColour);
                FrameRgn(dc, region, brush, borderWidth, borderWidth);
                DeleteObject(brush);
            } else {
                HPEN pen = CreatePen(PS_SOLID, borderWidth, borderColour);
                HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
                HGDIOBJ previousPen = SelectObject(dc, pen);
                Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
                SelectObject(dc, previousPen);
                SelectObject(dc, previousBrush);
                DeleteObject(pen);
            }
            InflateRect(&frame, -1, -1);
        } else if (hasRegion) {
            DrawRegionEdge(button, dc, region, pushed ? 1 : 0, borderWidth);
        } else {
            UINT frameState = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
            if (pushed) frameState |= DFCS_PUSHED;
            DrawFrameControl(dc, &frame, DFC_BUTTON, frameState);
        }
    }

    if (!hasRegion) {
        if (faceBitmap) {
            BlitIntoRect(dc, memory, faceBitmap, frame);
            if (mergeHotColour) {
                HBRUSH brush = CreateSolidBrush(face);
                HRGN faceRegion = CreateRectRgnIndirect(&frame);
                MergeColour(dc, faceRegion, brush);
                DeleteObject(faceRegion);
                DeleteObject(brush);
            }
        } else {
            FillSolid(dc, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top, face);
        }
        if (state & (ODS_FOCUS | ODS_DEFAULT)) {
            HGDIOBJ previous = SelectObject(dc, GetStockObject(NULL_BRUSH));
            Rectangle(dc, itemRect.left, itemRect.top, itemRect.right, itemRect.bottom);
            SelectObject(dc, previous);
        }
    }

    if (caption[0] != 0) {
        if (hasRegion) SelectClipRgn(dc, region);
        ButtonTextLayout(dc, button, caption, state, &text);
        if (hasRegion) SelectClipRgn(dc, nullptr);
    }
    if (region) DeleteObject(region);
    if (memory) DeleteDC(memory);
    return 0;
}
