// Hot-tracking buttons: face colour or bitmaps by hot state, any window
// region, border widths and the 3D edge along a region.
#include <algorithm>

#include "rt_dpi.h"
#include "subclass_common.h"

namespace {

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

// The bitmap from its top-left corner into r, as much as fits: a bitmap made
// for 96 DPI, so at any other DPI scaled to it, smoothly.
void BlitInto(HDC dc, HDC memory, HBITMAP bitmap, const RECT& r, int32_t dpi) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    int width = r.right - r.left;
    int height = r.bottom - r.top;
    if (dpi == DPI_BASE) {
        BitBlt(dc, r.left, r.top, width, height, memory, 0, 0, SRCCOPY);
    } else {
        BITMAP size{};
        GetObjectA(bitmap, sizeof(size), &size);
        width = std::min(width, ToDevicePixels(size.bmWidth, dpi));
        height = std::min(height, ToDevicePixels(size.bmHeight, dpi));
        const int mode = SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, r.left, r.top, width, height, memory, 0, 0, FromDevicePixels(width, dpi),
                   FromDevicePixels(height, dpi), SRCCOPY);
        SetStretchBltMode(dc, mode);
    }
    SelectObject(memory, previous);
}

// Lightens what is there by OR-ing the colour onto every pixel.
void MergeColour(HDC dc, HRGN region, HBRUSH brush) {
    const int previous = SetROP2(dc, R2_MERGEPEN);
    FillRgn(dc, region, brush);
    SetROP2(dc, previous);
}

// What the face shows: a bitmap, with the hot colour merged over it when a
// hot brush asks for the hot colour but no hot bitmap exists, or a colour.
struct HotFace {
    COLORREF colour;
    HBITMAP bitmap;
    bool mergeColour;
};

// An object the program handed the button, noted as held by it.
HGDIOBJ HeldObject(HWND button, const char* name, uint8_t slot) {
    HGDIOBJ object = GetPropA(button, name);
    controls::NoteHolder(button, slot, object);
    return object;
}

HotFace ChooseFace(HWND button, UINT state) {
    const bool hot = GetPropA(button, RT_PROP_HOT) && !(state & ODS_DISABLED);
    const bool hotBrush = HeldObject(button, RT_PROP_HOT_BRUSH, controls::kHotBrushSlot) != nullptr;
    HotFace face{controls::ColourProperty(button, hot && hotBrush ? RT_PROP_HOT_COLOUR : RT_PROP_BACK_COLOUR),
                 nullptr, false};
    auto* const hotBitmap = static_cast<HBITMAP>(HeldObject(button, RT_PROP_HOT_BITMAP, controls::kHotBitmapSlot));
    auto* const normalBitmap =
        static_cast<HBITMAP>(HeldObject(button, RT_PROP_NORMAL_BITMAP, controls::kNormalBitmapSlot));
    auto* const pushedBitmap =
        static_cast<HBITMAP>(HeldObject(button, RT_PROP_PUSHED_BITMAP, controls::kPushedBitmapSlot));
    // A pushed button shows the bitmap handed over for that state, when
    // there is one, before any hot or normal face.
    if ((state & ODS_SELECTED) && pushedBitmap) {
        face.bitmap = pushedBitmap;
    } else if (hot && hotBitmap) {
        face.bitmap = hotBitmap;
    } else if (normalBitmap) {
        face.bitmap = normalBitmap;
        face.mergeColour = hot && hotBrush;
    }
    return face;
}

// Paints the face into the window region, or (region null) into the
// rectangle inside the border.
void PaintFace(HWND button, HDC dc, const HotFace& face, HRGN region, const RECT& item, const RECT& frame) {
    if (!face.bitmap) {
        if (region) {
            HBRUSH brush = CreateSolidBrush(face.colour);
            FillRgn(dc, region, brush);
            DeleteObject(brush);
        } else {
            FillSolid(dc, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top, face.colour);
        }
        return;
    }
    HDC memory = CreateCompatibleDC(dc);
    if (region) SelectClipRgn(dc, region);
    BlitInto(dc, memory, face.bitmap, region ? RECT{0, 0, item.right - item.left, item.bottom - item.top} : frame,
             WindowDpi(button));
    if (region) SelectClipRgn(dc, nullptr);
    DeleteDC(memory);
    if (!face.mergeColour) return;
    HBRUSH brush = CreateSolidBrush(face.colour);
    HRGN area = region ? region : CreateRectRgnIndirect(&frame);
    MergeColour(dc, area, brush);
    if (area != region) DeleteObject(area);
    DeleteObject(brush);
}

// The border in the width the button asks for: a flat line, the 3D edge
// along the region, or the system's push-button frame. Shrinks the frame
// to what lies inside it.
void DrawBorder(HWND button, HDC dc, HRGN region, bool pushed, RECT* frame) {
    const int32_t asked = static_cast<int32_t>(reinterpret_cast<intptr_t>(GetPropA(button, RT_PROP_BORDER_WIDTH)));
    if (asked == 0) return;
    const int scale = controls::DrawingScale(button);
    const int32_t width = asked * scale;
    if (GetWindowLongPtrA(button, GWL_STYLE) & BS_FLAT) {
        const COLORREF colour = GetSysColor(COLOR_3DDKSHADOW);
        if (region) {
            HBRUSH brush = CreateSolidBrush(colour);
            FrameRgn(dc, region, brush, width, width);
            DeleteObject(brush);
        } else {
            HPEN pen = CreatePen(PS_SOLID, width, colour);
            HGDIOBJ previousPen = SelectObject(dc, pen);
            controls::DrawOutline(dc, *frame);
            SelectObject(dc, previousPen);
            DeleteObject(pen);
        }
        controls::RectInflate(*frame, -scale, -scale);
    } else if (region) {
        DrawRegionEdge(button, dc, region, pushed ? 1 : 0, asked);
    } else {
        controls::DrawButtonEdge(dc, frame, pushed, scale);
    }
}

}  // namespace

int32_t DrawRegionEdge(HWND button, HDC dc, HRGN region, int32_t pushed, int32_t width) {
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF darkShadow = GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF light = GetSysColor(COLOR_3DLIGHT);
    const COLORREF p = pushed ? darkShadow : highlight;
    const COLORREF q = pushed ? light : shadow;
    const COLORREF r = pushed ? shadow : light;
    const COLORREF s = pushed ? highlight : darkShadow;
    // Two bands for a width of 2, else one; each as wide as the DPI makes a pixel.
    HRGN scratch = CreateRectRgn(0, 0, 0, 0);
    const int band = controls::DrawingScale(button);
    if (width == 2) {
        PaintBand(dc, region, scratch, 2 * band, p);
        PaintBand(dc, region, scratch, -2 * band, q);
    }
    PaintBand(dc, region, scratch, band, width == 2 ? r : p);
    PaintBand(dc, region, scratch, -band, s);
    DeleteObject(scratch);
    return 0;
}

int32_t DrawHotButton(HWND button, DRAWITEMSTRUCT* item) {
    if (!item) return 0;
    ApplyDefaultButtonState(button, item);
    HDC dc = item->hDC;
    const UINT state = item->itemState;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (region && GetWindowRgn(button, region) == ERROR) {
        DeleteObject(region);
        region = nullptr;
    }
    const HotFace face = ChooseFace(button, state);
    RECT frame = item->rcItem;
    char caption[255];
    RECT text = controls::CaptionLayout(button, item, caption);

    // A region is filled before its edge is drawn over it; a rectangle gets
    // its border first and the face inside it, then the focus outline.
    if (region) PaintFace(button, dc, face, region, item->rcItem, frame);
    DrawBorder(button, dc, region, (state & ODS_SELECTED) != 0, &frame);
    const int scale = controls::DrawingScale(button);
    if (!region) {
        PaintFace(button, dc, face, nullptr, item->rcItem, frame);
        if (state & (ODS_FOCUS | ODS_DEFAULT)) controls::DrawOutline(dc, item->rcItem, scale);
        controls::DrawFocusMark(button, dc, frame, state, scale);
    } else {
        // Inside the region's box, by as much as its edge takes and a line.
        RECT box;
        GetRgnBox(region, &box);
        controls::RectInflate(box, -2 * scale, -2 * scale);
        SelectClipRgn(dc, region);
        controls::DrawFocusMark(button, dc, box, state, scale);
        SelectClipRgn(dc, nullptr);
    }
    if (caption[0] != 0) {
        if (region) SelectClipRgn(dc, region);
        ButtonTextLayout(dc, button, caption, state, &text);
        if (region) SelectClipRgn(dc, nullptr);
    }
    if (region) DeleteObject(region);
    return 0;
}
