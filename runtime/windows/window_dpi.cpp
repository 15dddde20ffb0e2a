// Runtime windows moved to another DPI. Their children were placed in
// 96-DPI pixels scaled to the old DPI; they are placed again from there.
#include "rt_controls_internal.h"
#include "rt_dpi.h"
#include "rt_windows_internal.h"

#include <algorithm>

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

// The record of a runtime window; dialogs lay themselves out.
WindowRecord* RuntimeRecord(HWND window) {
    WindowRecord* record = WindowRecordOf(window);
    return record && !record->isDialog ? record : nullptr;
}

// The backing bitmap made again for the new DPI: as large as the screen, or
// as the old one scaled if that is larger, with the old picture scaled into
// it. A drawing DC the program has open is the copy's source, in device
// pixels, and then draws on the new bitmap.
void BackingBitmapFollowDpi(HWND window, WindowRecord* record, int32_t from, int32_t to) {
    BITMAP old{};
    if (!GetObjectA(record->backBitmap, sizeof(old), &old)) return;
    const int scaledWidth = MulDiv(old.bmWidth, to, from);
    const int scaledHeight = MulDiv(old.bmHeight, to, from);
    const SIZE screen = ScreenAtDpi(to);
    const int width = std::max(scaledWidth, static_cast<int>(screen.cx));
    const int height = std::max(scaledHeight, static_cast<int>(screen.cy));
    HDC windowDc = GetDC(window);
    if (!windowDc) return;
    HBITMAP bitmap = BackingBitmap(windowDc, width, height);
    HDC target = CreateCompatibleDC(windowDc);
    HDC owned = record->drawDc ? nullptr : CreateCompatibleDC(windowDc);
    HDC source = record->drawDc ? record->drawDc : owned;
    if (!bitmap || !target || !source) {
        if (bitmap) DeleteObject(bitmap);
        if (target) DeleteDC(target);
        if (owned) DeleteDC(owned);
        ReleaseDC(window, windowDc);
        return;
    }
    HGDIOBJ previousTarget = SelectObject(target, bitmap);
    if (scaledWidth < width || scaledHeight < height) FillSolid(target, 0, 0, width, height, record->windowColor);
    HGDIOBJ previousSource = owned ? SelectObject(owned, record->backBitmap) : nullptr;
    if (!owned) DeviceUnitsSave(source);
    // Nearest pixels: a stand-in until the program draws again, and smooth
    // scaling of a screen-sized picture cost 30 ms a change.
    SetStretchBltMode(target, COLORONCOLOR);
    StretchBlt(target, 0, 0, scaledWidth, scaledHeight, source, 0, 0, old.bmWidth, old.bmHeight, SRCCOPY);
    SelectObject(target, previousTarget);
    DeleteDC(target);
    if (owned) {
        SelectObject(owned, previousSource);
        DeleteDC(owned);
    } else {
        RestoreDC(source, -1);
        SelectObject(source, bitmap);
        DrawingDcFollowDpi(source, to);
    }
    DeleteObject(record->backBitmap);
    record->backBitmap = bitmap;
    ReleaseDC(window, windowDc);
}

// The record's font and backing bitmap, made for the new DPI.
void ObjectsFollowDpi(HWND window, WindowRecord* record, int32_t from, int32_t to) {
    if (record->hwnd != window || from == to) return;
    if (record->backBitmap) {
        BackingBitmapFollowDpi(window, record, from, to);
        // What the window shows is the old picture at the old scale.
        InvalidateRect(window, nullptr, FALSE);
    }
    if (record->font) {
        HFONT own = FontAtDpi(record->font, from, to);
        if (own) {
            DeleteObject(record->font);
            record->font = own;
        }
    }
}

void PlaceChildren(HWND parent, const Rescale& rescale);

void PlaceChild(HWND parent, HWND child, const Rescale& rescale) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    const LONG left = rescale(r.left);
    const LONG top = rescale(r.top);
    SetWindowPos(child, nullptr, left, top, rescale(r.right) - left, rescale(r.bottom) - top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (WindowRecord* own = RuntimeRecord(child)) ObjectsFollowDpi(child, own, rescale.from, rescale.to);
    if (HoldsPlacedChildren(child)) PlaceChildren(child, rescale);
}

void PlaceChildren(HWND parent, const Rescale& rescale) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        PlaceChild(parent, child, rescale);
    }
}

// A dialog places its controls from their definitions itself; the runtime
// windows inside it follow as inside any window.
void PlaceInDialog(HWND dialog, int32_t from, int32_t to) {
    const Rescale rescale{from, to};
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (RuntimeRecord(child)) PlaceChild(dialog, child, rescale);
    }
}

}  // namespace

bool WindowFollowDpi(HWND window, WindowRecord* record, int32_t dpi, const RECT* suggested) {
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
    if (record) ObjectsFollowDpi(window, record, from, dpi);
    return from != dpi;
}

void WindowDpiTellChildren(HWND parent, int32_t dpi) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (RuntimeRecord(child)) SendMessageA(child, WM_DPICHANGED_AFTERPARENT, MAKEWPARAM(dpi, dpi), 0);
        if (HoldsPlacedChildren(child)) WindowDpiTellChildren(child, dpi);
    }
}

void WindowDpiForget(HWND window) { KeepValue(window, KEPT_LAID_OUT_DPI, 0); }

void WindowsInDialogsFollowDpi() { DialogInnerWindowsDpi = InnerWindowsDpi{PlaceInDialog, WindowDpiTellChildren}; }
