// Pieces shared by the subclass procedures.
#include <initializer_list>

#include "rt_dpi.h"
#include "subclass_common.h"

namespace controls {

LRESULT AnswerColours(HWND window, WPARAM dc, bool ownBrush) {
    HGDIOBJ brush = GetStockObject(NULL_BRUSH);
    if (ownBrush) {
        brush = GetPropA(window, RT_PROP_BACK_BRUSH);
        NoteHolder(window, kBackBrushSlot, brush);
    }
    HDC context = reinterpret_cast<HDC>(dc);
    SetTextColor(context, ColourProperty(window, RT_PROP_TEXT_COLOUR));
    SetBkColor(context, ColourProperty(window, RT_PROP_BACK_COLOUR));
    return reinterpret_cast<LRESULT>(brush);
}

namespace {

HGDIOBJ Image(HWND window, UINT getImageMessage) {
    return reinterpret_cast<HGDIOBJ>(SendMessageA(window, getImageMessage, IMAGE_BITMAP, 0));
}

}  // namespace

void ReleaseImage(HWND window, UINT getImageMessage) {
    if (HGDIOBJ image = Image(window, getImageMessage)) {
        NoteHolder(window, kImageSlot, nullptr);
        LetGo(&image, 1);
    }
}

const PropertyRule kColourRules[5] = {
    {RT_PROP_BACK_BRUSH, kBackBrushSlot}, {RT_PROP_BACK_COLOUR, kNoObject}, {RT_PROP_TEXT_COLOUR, kNoObject},
    {RT_PROP_NOTIFY_TAB, kNoObject},      {RT_PROP_NOTIFY_ENTER, kNoObject},
};

void ReleaseControl(HWND window, const ControlKind& kind, WNDPROC previous) {
    // What the control owns; an object in two of its slots is listed twice
    // and decided once.
    HGDIOBJ owned[kLastSlot];
    size_t count = 0;
    // Asked of the control's own procedure: through this one again would cost
    // a round trip for "LPFN".
    if (kind.getImageMessage && previous) {
        owned[count++] =
            reinterpret_cast<HGDIOBJ>(CallWindowProcA(previous, window, kind.getImageMessage, IMAGE_BITMAP, 0));
    }
    for (size_t i = 0; i < kind.count; ++i) {
        HGDIOBJ object = RemovePropA(window, kind.properties[i].name);
        if (kind.properties[i].slot != kNoObject) owned[count++] = object;
    }
    for (uint8_t slot = kBackBrushSlot; slot <= kLastSlot; ++slot) NoteHolder(window, slot, nullptr);
    NoteReleased(window);
    KeepValue(window, KEPT_DEFAULT_MARK, 0);
    LetGo(owned, count);
    if (!previous) return;
    RemovePropA(window, RT_PROP_PREVIOUS_PROC);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
}

void DrawOutline(HDC dc, const RECT& r, int scale) {
    HGDIOBJ previous = SelectObject(dc, GetStockObject(NULL_BRUSH));
    for (int i = 0; i < scale; ++i) Rectangle(dc, r.left + i, r.top + i, r.right - i, r.bottom - i);
    SelectObject(dc, previous);
}

void DrawFocusMark(HWND button, HDC dc, RECT face, UINT state, int scale) {
    if (!(state & ODS_FOCUS) || (state & ODS_NOFOCUSRECT)) return;
    if (SendMessageA(button, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) return;
    RectInflate(face, -scale, -scale);
    DrawFocusRect(dc, &face);
}

int DrawingScale(HWND window) { return WindowDpi(window) >= 144 ? 2 : 1; }

void DrawButtonEdge(HDC dc, RECT* r, bool pushed, int scale) {
    if (scale == 1) {
        DrawFrameControl(dc, r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pushed ? DFCS_PUSHED : 0));
        return;
    }
    for (const UINT band : {pushed ? BDR_SUNKENOUTER : BDR_RAISEDOUTER, pushed ? BDR_SUNKENINNER : BDR_RAISEDINNER}) {
        for (int i = 0; i < scale; ++i) DrawEdge(dc, r, band, BF_RECT | BF_SOFT | BF_ADJUST);
    }
}

void (*pictureLoader)(HWND, const char*, UINT, UINT);

void LoadImageIfPicture(HWND window, int32_t type, const char* text) {
    if (!pictureLoader) return;
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    UINT get = 0;
    UINT set = 0;
    if ((type == CONTROL_PUSH_BUTTON || type == CONTROL_HOT_BUTTON) && (style & BS_BITMAP) == BS_BITMAP) {
        get = BM_GETIMAGE;
        set = BM_SETIMAGE;
    } else if (type == CONTROL_LABEL && (style & SS_BITMAP) == SS_BITMAP) {
        get = STM_GETIMAGE;
        set = STM_SETIMAGE;
    } else {
        return;
    }
    // The text is read only for a picture: reading it is a message to the
    // control.
    char own[260];
    if (!text) {
        own[0] = 0;
        GetWindowTextA(window, own, sizeof(own));
        text = own;
    }
    pictureLoader(window, text, get, set);
}

RECT CaptionLayout(HWND button, const DRAWITEMSTRUCT* item, char (&caption)[255]) {
    caption[0] = 0;
    GetWindowTextA(button, caption, sizeof(caption));
    RECT text = item->rcItem;
    if (GetWindowLongPtrA(button, GWL_STYLE) & BS_MULTILINE) {
        RectInflate(text, -2 * GetSystemMetrics(SM_CXEDGE), -2 * GetSystemMetrics(SM_CYEDGE));
    }
    if (item->itemState & ODS_SELECTED) RectOffset(text, DrawingScale(button), DrawingScale(button));
    return text;
}

}  // namespace controls
