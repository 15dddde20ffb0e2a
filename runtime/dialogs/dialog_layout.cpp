// Dialogs at the DPI of their monitor. The definitions keep dialog units,
// which the dialog manager turns into pixels with its own font's bases:
// close to the program's pixels at 96 DPI, and at other DPIs as far off as
// the bitmap dialog font is from scaling. So the pixels the program gave are
// kept beside each definition, and once the dialog manager has made the
// windows they are put where those pixels, scaled to the DPI, say.
#include <algorithm>

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

// Advance widths of the design's face, "MS Sans Serif" at 8 points and 96
// DPI, for ' ' to '~', as the platform draws them: the widths a program's
// captions were sized to. The face comes in other shapes at other DPIs, so
// they are kept rather than measured.
constexpr uint8_t kDesignAdvance[95] = {
    3, 3, 5, 7, 6, 8, 6, 2, 3, 3, 4, 6, 3, 3, 3, 5, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 3, 3, 6, 6, 6, 6,
    11, 7, 7, 7, 8, 7, 6, 8, 8, 3, 5, 7, 6, 9, 8, 8, 7, 8, 8, 7, 7, 8, 7, 11, 7, 7, 7, 3, 5, 3, 6, 6,
    3, 6, 6, 6, 6, 6, 3, 6, 6, 2, 2, 6, 2, 8, 6, 6, 6, 6, 3, 5, 3, 6, 6, 8, 5, 5, 5, 4, 2, 4, 7};

// A caption's width in the design's face at 96 DPI; a character beyond
// ASCII (one lead byte in UTF-8 or a byte of a code page) counts as 7.
int32_t DesignWidth(const char* text) {
    int32_t width = 0;
    for (auto* p = reinterpret_cast<const unsigned char*>(text); p && *p; ++p) {
        if (*p >= 32 && *p < 127) {
            width += kDesignAdvance[*p - 32];
        } else if ((*p & 0xC0) != 0x80) {
            width += 7;
        }
    }
    return width;
}

// The width of a caption in font, on one line.
int32_t TextWidth(HDC dc, HFONT font, const char* text) {
    HGDIOBJ previous = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text, StrLength(text), &size);
    SelectObject(dc, previous);
    return size.cx;
}

// The move along one axis of a window from start to end, growing by grow,
// that the dialog manager pushed by pushed: the edge it was pushed from is
// the work area's, which the window keeps within.
int Unpushed(LONG start, LONG end, int grow, int move, LONG pushed) {
    LONG to = start + move - pushed;
    if (pushed < 0) to = std::min(to, end - (end - start + grow));
    if (pushed > 0) to = std::max(to, start);
    return static_cast<int>(to - start);
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

HFONT DialogFontForDpi(int32_t dpi, const DialogDefinition* definition) {
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
    // The template's 8 points, but no caption wider than in the design's
    // face scaled: the program sized its controls to that, and another face
    // may be wider.
    HDC dc = CreateCompatibleDC(nullptr);
    font.lfHeight = -MulDiv(8, dpi, 72);
    HFONT made = nullptr;
    for (int tries = 0; tries < 8 && font.lfHeight < 0; ++tries) {
        made = CreateFontIndirectA(&font);
        int32_t worst = 0;  // the widest caption over its scaled design width, in 1/1024
        for (const ControlDefinition* c = definition ? definition->controls : nullptr; c; c = c->next) {
            const int32_t want = ToDevicePixels(DesignWidth(c->text), dpi);
            if (want > 0) worst = std::max(worst, MulDiv(TextWidth(dc, made, c->text), 1024, want));
        }
        if (worst <= 1024 || !made) break;
        DeleteObject(made);
        made = nullptr;
        // Smaller by one at least.
        font.lfHeight = std::max<LONG>(font.lfHeight + 1, MulDiv(font.lfHeight, 1024, worst));
    }
    DeleteDC(dc);
    return made ? made : CreateFontIndirectA(&font);
}

DialogLayout DialogLayoutStart(HWND dialog, const DialogDefinition* definition, const RECT* suggested) {
    DialogLayout layout{dialog, definition, WindowDpi(dialog), nullptr, suggested != nullptr, {}};
    // At 96 DPI the template's font is the design's own, and of its size,
    // and it is the one again when a dialog that started at 96 comes back.
    HFONT old = reinterpret_cast<HFONT>(KeptValue(dialog, KEPT_FONT));
    if (!suggested && layout.dpi == DPI_BASE) {
        KeepValue(dialog, KEPT_TEMPLATE_FONT, static_cast<uintptr_t>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
    }
    const auto design = reinterpret_cast<HFONT>(KeptValue(dialog, KEPT_TEMPLATE_FONT));
    if (old && layout.dpi == DPI_BASE && design) {
        layout.font = design;
        KeepValue(dialog, KEPT_FONT, 0);
    } else if ((layout.dpi != DPI_BASE || old) && (layout.font = DialogFontForDpi(layout.dpi, definition))) {
        KeepValue(dialog, KEPT_FONT, reinterpret_cast<uintptr_t>(layout.font));
    }
    if (layout.font) SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(layout.font), FALSE);
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
    // Corrected by what the units were off; after a change of DPI the
    // system's suggestion stands.
    const RECT want = Wanted(layout, definition, &definition->x);
    const POINT made = suggested ? POINT{want.left, want.top} : MadePlace(dialog, &definition->x);
    const int dw = (want.right - want.left) - client.right;
    const int dh = (want.bottom - want.top) - client.bottom;
    // The dialog manager may have pushed it onto the screen, by what the
    // units put outside: in its place the dialog may be inside, or pushed
    // less far.
    POINT pushed{};
    if (!suggested) {
        const LONG_PTR style = GetWindowLongPtrA(dialog, GWL_STYLE);
        HWND base = (style & WS_CHILD) ? GetParent(dialog) : (style & DS_ABSALIGN) ? nullptr : GetWindow(dialog, GW_OWNER);
        POINT intended = made;
        if (base) MapWindowPoints(base, nullptr, &intended, 1);
        MapWindowPoints(dialog, nullptr, &pushed, 1);
        pushed = POINT{pushed.x - intended.x, pushed.y - intended.y};
    }
    const int dx = Unpushed(outer.left, outer.right, dw, want.left - made.x, pushed.x);
    const int dy = Unpushed(outer.top, outer.bottom, dh, want.top - made.y, pushed.y);
    if (dw || dh) {
        SetWindowPos(dialog, nullptr, outer.left + dx, outer.top + dy, outer.right - outer.left + dw,
                     outer.bottom - outer.top + dh, SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (dx || dy) {
        // A move of a top-level window is a dozen round trips to the server,
        // and most handlers centre their dialog anyway.
        layout.pendingMove = POINT{dx, dy};
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
    // The dialog is erased when it next paints, not at every control: each
    // synchronous erase is another round trip.
    SetWindowPos(control, nullptr, want.left, want.top, want.right - want.left, want.bottom - want.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_DEFERERASE);
}

void DialogLayoutFinish(const DialogLayout& layout, const RECT& before) {
    if (!layout.pendingMove.x && !layout.pendingMove.y) return;
    RECT now;
    if (!GetWindowRect(layout.dialog, &now) || !EqualRect(&now, &before)) return;
    SetWindowPos(layout.dialog, nullptr, now.left + layout.pendingMove.x, now.top + layout.pendingMove.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DialogLayoutEnd(HWND dialog) {
    KeepValue(dialog, KEPT_LAID_OUT_DPI, 0);
    KeepValue(dialog, KEPT_TEMPLATE_FONT, 0);
    if (HGDIOBJ font = reinterpret_cast<HGDIOBJ>(KeptValue(dialog, KEPT_FONT))) {
        KeepValue(dialog, KEPT_FONT, 0);
        DeleteObject(font);
    }
}
