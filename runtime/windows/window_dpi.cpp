// Runtime windows moved to another DPI. Their children were placed in
// 96-DPI pixels scaled to the old DPI; they are placed again from there.
#include "rt_controls_internal.h"
#include "rt_dpi.h"
#include "rt_windows_internal.h"

namespace {

struct Rescale {
    int32_t from;
    int32_t to;

    LONG operator()(LONG v) const { return ToDevicePixels(FromDevicePixels(v, from), to); }
};

// A font like font whose height is that of 'to' instead of 'from'. The
// width is left to the face: a bitmap face without the size keeps its own
// glyphs rather than spreading them.
HFONT FontAtDpi(HGDIOBJ font, int32_t from, int32_t to) {
    LOGFONTA description{};
    if (!GetObjectA(font, sizeof(description), &description)) return nullptr;
    description.lfHeight = MulDiv(description.lfHeight, to, from);
    description.lfWidth = 0;
    return CreateFontIndirectA(&description);
}

// Toolbars and status bars place themselves along their parent when told
// it changed size.
bool IsBar(HWND window) {
    char name[24] = "";
    GetClassNameA(window, name, sizeof(name));
    return TextEquals(name, "msctls_statusbar32") || TextEquals(name, "ToolbarWindow32");
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
        if (HoldsPlacedChildren(child)) PlaceChildren(child, rescale);
    }
}

}  // namespace

void WindowFollowDpi(HWND window, WindowRecord* record, int32_t dpi, const RECT* suggested) {
    const int32_t from = WindowDpi(window);
    KeepValue(window, KEPT_LAID_OUT_DPI, static_cast<uintptr_t>(dpi));
    // Children keep their fonts: the system's, which a window made at this
    // DPI has as well, or the program's own.
    if (from != dpi) PlaceChildren(window, Rescale{from, dpi});
    // Last the window's own size, then the bars along it, then a frame's
    // client between them.
    if (suggested) {
        SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsBar(child)) SendMessageA(child, WM_SIZE, 0, 0);
    }
    if (record && record->mdiClient) FitClientToBars(window, record->mdiClient);
    if (from != dpi && record && record->font) {
        HFONT own = FontAtDpi(record->font, from, dpi);
        if (own) {
            DeleteObject(record->font);
            record->font = own;
        }
    }
}

void WindowDpiForget(HWND window) { KeepValue(window, KEPT_LAID_OUT_DPI, 0); }
