// Defining a dialog: the record, its definition in dialog units, and the list
// of dialogs that END frees.
#include <windows.h>

#include <cstdint>
#include <initializer_list>

#include "rt_dialogs_internal.h"
#include "rt_memory.h"
#include "rt_numbers.h"
#include "rt_strings.h"

namespace {

bool IsListed(const WindowRecord* record) {
    for (const WindowListNode* node = WindowList; node; node = node->next) {
        if (node->record == record) return true;
    }
    return false;
}

// Appends at the tail, keeping definition order. Returns false when no node
// could be allocated.
bool AppendToWindowList(WindowRecord* record) {
    auto* node = static_cast<WindowListNode*>(GlobalBlockAlloc(BLOCK_RECORD, sizeof(WindowListNode)));
    if (!node) return false;
    node->record = record;
    WindowListNode** link = &WindowList;
    while (*link) link = &(*link)->next;
    *link = node;
    return true;
}

}  // namespace

void MeasureDialogFont(int32_t* charWidth, int32_t* charHeight) {
    // Measured once: the font and the display do not change while the
    // process runs, and a drawing DC costs the platform a look at its
    // display each time.
    static int32_t measuredWidth;
    static int32_t measuredHeight;
    if (measuredHeight != 0) {
        *charWidth = measuredWidth;
        *charHeight = measuredHeight;
        return;
    }
    LOGFONTA font{};
    StrCopyBounded(font.lfFaceName, kDialogTypeface, sizeof(font.lfFaceName));
    font.lfHeight = 8;  // positive: cell height in pixels
    font.lfWeight = FW_NORMAL;
    TEXTMETRICA metrics{};
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT handle = CreateFontIndirectA(&font);
    HGDIOBJ previous = SelectObject(dc, handle);
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    DeleteObject(handle);
    DeleteDC(dc);
    *charWidth = measuredWidth = metrics.tmAveCharWidth + 1;
    *charHeight = measuredHeight = metrics.tmHeight;
}

bool DialogUnitsFit(const DialogUnitRect& units) {
    for (const int32_t value : {units.x, units.y, units.cx, units.cy}) {
        if (value < INT16_MIN || value > INT16_MAX) return false;
    }
    return true;
}

// Kept out of line: the dialog and each control convert, and four roundings
// of doubles are a lot of code to repeat at every caller.
[[gnu::noinline]] DialogUnitRect PixelsToDialogUnits(int32_t charWidth, int32_t charHeight, int32_t x, int32_t y,
                                                     int32_t width, int32_t height) {
    // A base of 0 (no font metrics) would divide by zero; count it as 1.
    const double cw = charWidth > 0 ? charWidth : 1;
    const double ch = charHeight > 0 ? charHeight : 1;
    const int32_t left = RoundNearest(4.0 * x / cw);
    const int32_t top = RoundNearest(8.0 * y / ch);
    const int32_t right = RoundNearest(4.0 * (static_cast<double>(x) + width) / cw);
    const int32_t bottom = RoundNearest(8.0 * (static_cast<double>(y) + height) / ch);
    return DialogUnitRect{left, top, right - left, bottom - top};
}

int32_t DialogCreate(WindowRecord* record, int32_t x, int32_t y, int32_t width, int32_t height,
                     uint32_t style, const WindowRecord* parent, const char* title, EventHandler handler) {
    // The open window keeps its definition; and what the template cannot
    // hold would make a window of nonsense later.
    if (!record || RecordHasWindow(record)) return 0;
    // The class first: the platform sets up its window side once either way,
    // but a drawing DC made before it makes it look for its display twice.
    RegisterDialogClass();
    int32_t charWidth = 0;
    int32_t charHeight = 0;
    MeasureDialogFont(&charWidth, &charHeight);
    const DialogUnitRect units = PixelsToDialogUnits(charWidth, charHeight, x, y, width, height);
    if (!DialogUnitsFit(units)) return 0;
    HWND owner = parent ? parent->hwnd : nullptr;

    // A record defined before owns its definition through the list entry;
    // replace it rather than list the record twice (END would free the new
    // definition twice and the old one never).
    const bool listed = IsListed(record);
    if (listed && record->definition) {
        ControlListFree(record->definition->controls);
        ForgetPixelRect(record->definition);
        GlobalBlockFree(record->definition);
    }

    record->handler = handler;
    record->hwnd = nullptr;
    record->eventDc = nullptr;
    record->drawDc = nullptr;
    record->spareC = 0;
    record->spareE = 0;
    record->definition =
        static_cast<DialogDefinition*>(GlobalBlockAlloc(BLOCK_RECORD, sizeof(DialogDefinition)));
    record->kind = 1;
    record->cursor = LoadCursorA(nullptr, IDC_ARROW);
    record->spareB = 1;
    record->spareA = 0;
    record->isDialog = 1;
    record->bkMode = 0;
    record->rop2 = 0;
    record->bkColor = 0;
    record->spareD = 0;
    record->noErase = 0;
    record->hooks = nullptr;

    DialogDefinition* definition = record->definition;
    if (!definition) return 0;
    definition->style = style | DIALOG_FIXED_STYLE;
    definition->exStyle = 0;
    definition->parent = owner;
    StrCopyBounded(definition->title, title, sizeof(definition->title));
    definition->controls = nullptr;
    definition->charWidth = charWidth;
    definition->charHeight = charHeight;
    definition->x = units.x;
    definition->y = units.y;
    definition->cx = units.cx;
    definition->cy = units.cy;
    definition->modeless = 0;
    KeepPixelRect(definition, x, y, width, height);

    if (!listed && !AppendToWindowList(record)) {
        // Unlisted, END could not free it: give it back now.
        GlobalBlockFree(definition);
        record->definition = nullptr;
        return 0;
    }
    return 1;
}
