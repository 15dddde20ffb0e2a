// Owner-drawn push buttons: frame, face, default/focus outline and caption.
#include "rt_strings.h"
#include "subclass_common.h"

int32_t FillSolid(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height, COLORREF colour) {
    if (!dc) return 0;
    SetBkColor(dc, colour);
    const RECT r{x, y, x + width, y + height};
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    return 0;
}

void ApplyDefaultButtonState(HWND button, DRAWITEMSTRUCT* item) {
    // Once the dialog manager has moved the default mark (to a push button
    // with the focus, and back), the mark decides.
    if (const uintptr_t mark = KeptValue(button, KEPT_DEFAULT_MARK)) {
        if (mark == DEFAULT_MARK_SET) item->itemState |= ODS_DEFAULT;
        return;
    }
    const LRESULT answer = SendMessageA(GetParent(button), DM_GETDEFID, 0, 0);
    if ((answer & 0xFFFF) == item->CtlID) item->itemState |= ODS_DEFAULT;
}

void ButtonTextLayout(HDC dc, HWND button, const char* caption, UINT state, RECT* textRect) {
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    const LONG_PTR style = GetWindowLongPtrA(button, GWL_STYLE);
    const int32_t length = StrLength(caption);
    UINT format = DT_CENTER | DT_VCENTER;
    if (style & BS_MULTILINE) {
        format |= DT_WORDBREAK;
        RECT measure = *textRect;
        DrawTextA(dc, caption, length, &measure, format | DT_CALCRECT);
        // Centre the wrapped block: DT_VCENTER only works on single lines.
        textRect->top += (textRect->bottom - textRect->top) / 2 - (measure.bottom - measure.top) / 2;
    } else {
        format |= DT_SINGLELINE;
    }
    SIZE extent{};
    GetTextExtentPoint32A(dc, caption, length, &extent);
    const int x = (textRect->left + textRect->right) / 2 - extent.cx / 2;
    int y = (textRect->top + textRect->bottom) / 2 - extent.cy / 2;

    COLORREF previousColour;
    if (state & ODS_DISABLED) {
        y -= 1;
        previousColour = SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        if (style & BS_MULTILINE) {
            DrawTextA(dc, caption, length, textRect, format);
        } else {
            DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(caption), static_cast<WPARAM>(length), x, y,
                       extent.cx, extent.cy, DST_TEXT | DSS_DISABLED);
        }
    } else {
        previousColour = SetTextColor(dc, controls::ColourProperty(button, RT_PROP_TEXT_COLOUR));
        DrawTextA(dc, caption, length, textRect, format);
    }
    SetBkMode(dc, previousMode);
    SetTextColor(dc, previousColour);
}

int32_t DrawPushButton(HWND button, DRAWITEMSTRUCT* item) {
    if (!item) return 0;
    ApplyDefaultButtonState(button, item);
    HDC dc = item->hDC;
    const UINT state = item->itemState;
    RECT frame = item->rcItem;
    char caption[255];
    RECT text = controls::CaptionLayout(button, item, caption);
    const LONG_PTR style = GetWindowLongPtrA(button, GWL_STYLE);
    const bool outlined = (state & (ODS_FOCUS | ODS_DEFAULT)) != 0;
    const int scale = controls::DrawingScale(button);
    if (outlined) controls::RectInflate(frame, -scale, -scale);

    if (style & BS_FLAT) {
        controls::DrawOutline(dc, frame, scale);
        controls::RectInflate(frame, -scale, -scale);
    } else {
        controls::DrawButtonEdge(dc, &frame, (state & ODS_SELECTED) != 0, scale);
    }
    FillSolid(dc, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
              controls::ColourProperty(button, RT_PROP_BACK_COLOUR));
    if (outlined) controls::DrawOutline(dc, item->rcItem, scale);
    controls::DrawFocusMark(button, dc, frame, state, scale);
    if (caption[0] == 0) return 0;
    ButtonTextLayout(dc, button, caption, state, &text);
    return 0;
}
