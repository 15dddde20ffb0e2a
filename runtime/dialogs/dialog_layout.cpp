// Dialogs at the DPI of their monitor. The definitions keep dialog units,
// which the dialog manager turns into pixels with its own font's bases:
// close to the program's pixels at 96 DPI, and at other DPIs as far off as
// the bitmap dialog font is from scaling. So the pixels the program gave are
// kept beside each definition, and once the dialog manager has made the
// windows they are put where those pixels, scaled to the DPI, say.
#include "rt_controls_internal.h"
#include "rt_dialogs_internal.h"
#include "rt_dpi.h"
#include "rt_strings.h"

namespace {

// Kept with the top bit flipped: no coordinate a template can hold is then 0,
// which the table takes for no value.
constexpr uint32_t kFlip = 0x80000000u;

// Where a definition (units: its x, y, cx, cy) goes at the layout's DPI: the
// program's edges, or for one defined in dialog units, those units in the
// definition's bases.
RECT Wanted(const DialogLayout& layout, const void* definition, const int32_t* units) {
    const bool kept = KeptValue(definition, KEPT_PIXELS) != 0;
    LONG edges[4];
    for (uint8_t i = 0; i < 4; ++i) {
        const int32_t unit = units[i & 1] + (i < 2 ? 0 : units[i]);
        const int32_t pixels = kept ? static_cast<int32_t>(static_cast<uint32_t>(KeptValue(definition, KEPT_PIXELS + i)) ^ kFlip)
                               : (i & 1) ? MulDiv(unit, layout.definition->charHeight, 8)
                                         : MulDiv(unit, layout.definition->charWidth, 4);
        edges[i] = ToDevicePixels(pixels, layout.dpi);
    }
    return RECT{edges[0], edges[1], edges[2], edges[3]};
}

// Where the dialog manager put the place the units say.
POINT MadePlace(HWND dialog, const int32_t* units) {
    RECT made{units[0], units[1], units[0], units[1]};
    MapDialogRect(dialog, &made);
    return POINT{made.left, made.top};
}

int CALLBACK NoteScalable(const LOGFONTA*, const TEXTMETRICA*, DWORD type, LPARAM found) {
    if (!(type & RASTER_FONTTYPE)) *reinterpret_cast<bool*>(found) = true;
    return TRUE;
}

}  // namespace

void KeepPixelRect(const void* definition, int32_t x, int32_t y, int32_t width, int32_t height) {
    const int32_t edges[4] = {x, y, x + width, y + height};
    for (uint8_t i = 0; i < 4; ++i) KeepValue(definition, KEPT_PIXELS + i, static_cast<uint32_t>(edges[i]) ^ kFlip);
}

void ForgetPixelRect(const void* definition) {
    for (uint8_t i = 0; i < 4; ++i) KeepValue(definition, KEPT_PIXELS + i, 0);
}

HFONT DialogFontForDpi(int32_t dpi) {
    // The design's face where the system has it as a scalable font (a bitmap
    // face stops growing after a few sizes), otherwise the system's message
    // face. Chosen once.
    static LOGFONTA font;
    if (!font.lfFaceName[0]) {
        font.lfWeight = FW_NORMAL;
        font.lfCharSet = DEFAULT_CHARSET;
        StrCopyBounded(font.lfFaceName, kDialogTypeface, sizeof(font.lfFaceName));
        bool scalable = false;
        HDC dc = CreateCompatibleDC(nullptr);
        EnumFontFamiliesExA(dc, &font, NoteScalable, reinterpret_cast<LPARAM>(&scalable), 0);
        DeleteDC(dc);
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof(metrics);
        if (!scalable && SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
            StrCopyBounded(font.lfFaceName, metrics.lfMessageFont.lfFaceName, sizeof(font.lfFaceName));
        }
    }
    font.lfHeight = -MulDiv(8, dpi, 72);  // the template's 8 points
    return CreateFontIndirectA(&font);
}

DialogLayout DialogLayoutStart(HWND dialog, const DialogDefinition* definition, const RECT* suggested) {
    DialogLayout layout{dialog, definition, WindowDpi(dialog), nullptr, suggested != nullptr};
    // At 96 DPI the template's font is the design's own, and of its size;
    // back at 96 after a change, the one made for it.
    HFONT old = reinterpret_cast<HFONT>(KeptValue(dialog, KEPT_FONT));
    if ((layout.dpi != DPI_BASE || old) && (layout.font = DialogFontForDpi(layout.dpi))) {
        KeepValue(dialog, KEPT_FONT, reinterpret_cast<uintptr_t>(layout.font));
        SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(layout.font), FALSE);
    }
    RECT outer;
    RECT client;
    if (suggested) {
        outer = *suggested;
        SetWindowPos(dialog, nullptr, outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        GetWindowRect(dialog, &outer);
    }
    GetClientRect(dialog, &client);
    // The dialog manager may have moved it onto the screen: its place is
    // corrected by what the units were off, not set anew; after a change of
    // DPI the system's suggestion stands.
    const RECT want = Wanted(layout, definition, &definition->x);
    const POINT made = suggested ? POINT{want.left, want.top} : MadePlace(dialog, &definition->x);
    const int dx = want.left - made.x;
    const int dy = want.top - made.y;
    const int dw = (want.right - want.left) - client.right;
    const int dh = (want.bottom - want.top) - client.bottom;
    if (dx || dy || dw || dh) {
        SetWindowPos(dialog, nullptr, outer.left + dx, outer.top + dy, outer.right - outer.left + dw,
                     outer.bottom - outer.top + dh, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (old) DeleteObject(old);
    return layout;
}

void DialogLayoutPlace(const DialogLayout& layout, HWND control, const ControlDefinition* node) {
    if (layout.font) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(layout.font), layout.again);
    const RECT want = Wanted(layout, node, &node->x);
    // As it is: the dialog manager converts the size apart from the place.
    RECT made;
    GetWindowRect(control, &made);
    MapWindowPoints(nullptr, layout.dialog, reinterpret_cast<POINT*>(&made), 2);
    if (EqualRect(&want, &made)) return;
    SetWindowPos(control, nullptr, want.left, want.top, want.right - want.left, want.bottom - want.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void DialogLayoutEnd(HWND dialog) {
    KeepValue(dialog, KEPT_LAID_OUT_DPI, 0);
    if (HGDIOBJ font = reinterpret_cast<HGDIOBJ>(KeptValue(dialog, KEPT_FONT))) {
        KeepValue(dialog, KEPT_FONT, 0);
        DeleteObject(font);
    }
}
