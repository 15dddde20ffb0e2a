// Runtime windows moved to another DPI. Their children were placed in
// 96-DPI pixels scaled to the old DPI; they are placed again from there.
#include "rt_controls_internal.h"
#include "rt_dpi.h"
#include "rt_windows_internal.h"

namespace {

struct Rescale {
    int32_t from;
    int32_t to;
    HFONT oldFont;  // what the children had from the window (null: the system's)
    HFONT newFont;

    LONG operator()(LONG v) const { return ToDevicePixels(FromDevicePixels(v, from), to); }
};

// A font like font (null: the system's, made at the system DPI) whose height
// is that of 'to' instead of 'from'.
HFONT FontAtDpi(HGDIOBJ font, int32_t from, int32_t to) {
    LOGFONTA description{};
    if (!font) {
        font = GetStockObject(SYSTEM_FONT);
        from = WindowDpi(nullptr);
    }
    if (!GetObjectA(font, sizeof(description), &description)) return nullptr;
    description.lfHeight = MulDiv(description.lfHeight, to, from);
    description.lfWidth = MulDiv(description.lfWidth, to, from);
    return CreateFontIndirectA(&description);
}

// Runtime windows and MDI clients lay out their own children the same way;
// common controls keep the insides they made for themselves.
bool HoldsPlacedChildren(HWND window) {
    const uint16_t atom = ClassAtom(window);
    return atom == WindowClassAtom || atom == FrameClassAtom || atom == MdiClientAtom;
}

void PlaceChildren(HWND parent, const Rescale& rescale) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        const LONG left = rescale(r.left);
        const LONG top = rescale(r.top);
        SetWindowPos(child, nullptr, left, top, rescale(r.right) - left, rescale(r.bottom) - top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0)) == rescale.oldFont) {
            SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(rescale.newFont), TRUE);
        }
        if (HoldsPlacedChildren(child)) PlaceChildren(child, rescale);
    }
}

}  // namespace

void WindowFollowDpi(HWND window, WindowRecord* record, int32_t dpi, const RECT* suggested) {
    const int32_t from = WindowDpi(window);
    KeepValue(window, KEPT_LAID_OUT_DPI, static_cast<uintptr_t>(dpi));
    if (from != dpi) {
        const auto oldFont = reinterpret_cast<HFONT>(KeptValue(window, KEPT_FONT));
        const Rescale rescale{from, dpi, oldFont, FontAtDpi(oldFont, from, dpi)};
        KeepValue(window, KEPT_FONT, reinterpret_cast<uintptr_t>(rescale.newFont));
        PlaceChildren(window, rescale);
        if (oldFont) DeleteObject(oldFont);
    }
    // Last: a frame fits its client to its bars as it is resized.
    if (suggested) {
        SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (from != dpi && record && record->font) {
        HFONT own = FontAtDpi(record->font, from, dpi);
        if (own) {
            DeleteObject(record->font);
            record->font = own;
        }
    }
}

void WindowDpiForget(HWND window) {
    KeepValue(window, KEPT_LAID_OUT_DPI, 0);
    if (HGDIOBJ font = reinterpret_cast<HGDIOBJ>(KeptValue(window, KEPT_FONT))) {
        KeepValue(window, KEPT_FONT, 0);
        DeleteObject(font);
    }
}
