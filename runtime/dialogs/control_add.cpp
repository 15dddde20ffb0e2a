// Adding controls: a control type becomes a class, style bits and an extended
// style; dialogs collect definitions, windows get the control at once.
#include <windows.h>

#include "rt_controls_internal.h"
#include "rt_dialogs_internal.h"
#include "rt_dpi.h"
#include "rt_memory.h"
#include "rt_strings.h"
#include "rt_windows.h"

namespace {

constexpr uint32_t kClientEdge = WS_EX_CLIENTEDGE;
constexpr uint32_t kChildVisible = WS_CHILD | WS_VISIBLE;
constexpr int32_t kClassNameRoom = 32;
constexpr int32_t kMaxTemplateItems = 0xFFFF;

struct ControlShape {
    const char* className = "";
    uint32_t style = 0;
    uint32_t exStyle = 0;
    int32_t isDefault = 0;
};

// The control-type table.
ControlShape ShapeFor(int32_t type, uint32_t style) {
    ControlShape shape;
    shape.style = style;
    const bool bordered = (style & WS_BORDER) != 0;
    switch (type) {
        case CONTROL_PUSH_BUTTON:
        case CONTROL_HOT_BUTTON:
            shape.className = "BUTTON";
            if (!(style & BS_BITMAP)) shape.style |= BS_OWNERDRAW;
            shape.isDefault = (style & BS_DEFPUSHBUTTON) ? 1 : 0;
            break;
        case CONTROL_CHECK_BOX: shape.className = "BUTTON"; shape.style |= BS_AUTOCHECKBOX; break;
        case CONTROL_RADIO_BUTTON: shape.className = "BUTTON"; shape.style |= BS_AUTORADIOBUTTON; break;
        case CONTROL_EDIT:
            shape.className = "EDIT";
            shape.style |= WS_BORDER;
            shape.exStyle = kClientEdge;
            break;
        case CONTROL_LIST_BOX:
            shape.className = "LISTBOX";
            shape.style |= WS_BORDER | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
            shape.exStyle = kClientEdge;
            break;
        case CONTROL_COMBO_BOX:
            shape.className = "COMBOBOX";
            shape.style |= WS_BORDER | CBS_HASSTRINGS | CBS_NOINTEGRALHEIGHT;
            shape.exStyle = kClientEdge;
            break;
        case CONTROL_LABEL: shape.className = "STATIC"; break;
        case CONTROL_SCROLL_BAR: shape.className = "SCROLLBAR"; break;
        case CONTROL_GROUP_BOX: shape.className = "BUTTON"; shape.style |= BS_GROUPBOX; break;
        case CONTROL_RICH_EDIT:
            shape.className = "RichEdit";
            shape.exStyle = bordered ? kClientEdge : 0;
            controls::EnsureCommonControls();
            if (!RichEditLibrary) RichEditLibrary = LoadLibraryA("riched32.dll");
            break;
        case CONTROL_LIST_VIEW:
            shape.className = "SysListView32";
            controls::EnsureCommonControls();
            break;
        case CONTROL_STATUS_BAR:
            shape.className = "msctls_statusbar32";
            controls::EnsureCommonControls();
            break;
        case CONTROL_SYSTEM_BUTTON:
            shape.className = "BUTTON";
            shape.isDefault = (style & BS_DEFPUSHBUTTON) ? 1 : 0;
            break;
        case CONTROL_TREE_VIEW:
            shape.className = "SysTreeView32";
            shape.exStyle = bordered ? kClientEdge : 0;
            controls::EnsureCommonControls();
            break;
        default:
            break;
    }
    return shape;
}

// -1 is the usual identifier of static text, which many controls share.
bool IsStaticId(int32_t id) { return id == -1 || id == 0xFFFF; }

bool IsDialogRecord(const WindowRecord* record) {
    return record->definition && record->kind != 0;
}

// Where the control goes: false when a window cannot take it (no window yet,
// or the identifier is taken); for a dialog, the rectangle in dialog units.
bool Placement(const WindowRecord* record, int32_t x, int32_t y, int32_t width, int32_t height, int32_t id,
               DialogUnitRect* units) {
    *units = DialogUnitRect{x, y, width, height};
    if (IsDialogRecord(record)) {
        *units = PixelsToDialogUnits(record->definition->charWidth, record->definition->charHeight, x, y, width,
                                     height);
        return true;
    }
    return record->hwnd && (IsStaticId(id) || ChildIdFree(record->hwnd, id) || !GetDlgItem(record->hwnd, id));
}

HWND CreateAtOnce(const WindowRecord* record, uint32_t exStyle, const char* className, const char* text,
                  uint32_t style, int32_t x, int32_t y, int32_t width, int32_t height, int32_t id) {
    const int32_t dpi = WindowDpi(record->hwnd);
    const int32_t left = ToDevicePixels(x, dpi);
    const int32_t top = ToDevicePixels(y, dpi);
    return CreateWindowExA(exStyle, className, text ? text : "", style, left, top,
                           ToDevicePixels(x + width, dpi) - left, ToDevicePixels(y + height, dpi) - top, record->hwnd,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

// Where the list last appended to ends, how long it is and which identifiers
// it uses: a program defines one dialog's controls after another, and a walk
// of the list for each control would cost in the square of the controls.
struct ListEnd {
    const DialogDefinition* definition;
    ControlDefinition** link;
    int32_t count;
    uint8_t usedIds[0x10000 / 8];  // a bit per 16-bit identifier
};
ListEnd listEnd;

// Marks the identifier used; true when it was already.
bool UseId(int32_t id) {
    uint8_t& bits = listEnd.usedIds[(id & 0xFFFF) >> 3];
    const uint8_t bit = static_cast<uint8_t>(1 << (id & 7));
    const bool used = bits & bit;
    bits |= bit;
    return used;
}

// Follows the definition's list once when it is not the one last appended to.
void FindListEnd(DialogDefinition* definition) {
    if (listEnd.definition == definition) return;
    listEnd.definition = definition;
    listEnd.count = 0;
    for (uint8_t& bits : listEnd.usedIds) bits = 0;
    for (listEnd.link = &definition->controls; *listEnd.link; listEnd.link = &(*listEnd.link)->next) {
        UseId((*listEnd.link)->id);
        ++listEnd.count;
    }
}

}  // namespace

void ForgetListEnd() { listEnd.definition = nullptr; }

namespace {

ControlDefinition* AppendDefinition(WindowRecord* record, uint32_t exStyle, const char* className, const char* text,
                                    uint32_t style, int32_t x, int32_t y, int32_t cx, int32_t cy, int32_t id,
                                    int32_t type, int32_t isDefault) {
    if (!record || !record->definition) return nullptr;
    // Without a class (a type outside the table, an empty name) the dialog
    // manager would refuse the whole dialog.
    if (!className || !className[0] || !DialogUnitsFit(DialogUnitRect{x, y, cx, cy})) return nullptr;
    // The template keeps identifiers in 16 bits and counts items in 16 bits;
    // the first control keeps its identifier.
    FindListEnd(record->definition);
    if (listEnd.count >= kMaxTemplateItems || (UseId(id) && !IsStaticId(id))) return nullptr;
    auto* node = static_cast<ControlDefinition*>(GlobalBlockAlloc(BLOCK_RECORD, sizeof(ControlDefinition)));
    char* copy = node ? static_cast<char*>(GlobalBlockAlloc(BLOCK_TEXT, StrLength(text) + 1)) : nullptr;
    if (!copy) {
        // A node without its text would break the template: leave it out,
        // and its identifier with it.
        GlobalBlockFree(node);
        listEnd.definition = nullptr;
        return nullptr;
    }
    node->text = copy;
    StrCopy(node->text, text);
    StrCopyBounded(node->className, className, kClassNameRoom);
    node->type = type;
    node->style = style;
    node->exStyle = exStyle;
    node->x = x;
    node->y = y;
    node->cx = cx;
    node->cy = cy;
    node->id = id;
    node->isDefault = isDefault;
    *listEnd.link = node;
    listEnd.link = &node->next;
    ++listEnd.count;
    return node;
}

// Kept out of ControlAdd, which must stay small (below).
[[gnu::noinline]] int32_t AddControl(WindowRecord* record, ControlType type, const char* text, int32_t x, int32_t y,
                                     int32_t width, int32_t height, uint32_t style, int32_t id) {
    DialogUnitRect units;
    if (!record || !Placement(record, x, y, width, height, id, &units)) return 0;
    const bool dialog = IsDialogRecord(record);
    ControlShape shape = ShapeFor(type, style);
    shape.style |= kChildVisible;
    if (shape.style & CONTROL_HIDDEN) shape.style &= ~(WS_VISIBLE | CONTROL_HIDDEN);

    if (dialog) {
        const ControlDefinition* node = AppendDefinition(record, shape.exStyle, shape.className, text, shape.style,
                                                         units.x, units.y, units.cx, units.cy, id, type,
                                                         shape.isDefault);
        if (node) KeepPixelRect(node, x, y, width, height);
        return node ? 1 : 0;
    }
    // A group box draws its frame and caption only: a window that clips its
    // children must still paint what lies inside it.
    if (type == CONTROL_GROUP_BOX) shape.exStyle |= WS_EX_TRANSPARENT;
    HWND control = CreateAtOnce(record, shape.exStyle, shape.className, text, shape.style, x, y, width, height, id);
    if (!control) return 0;
    ControlAttachNew(control, type);
    return 1;
}

}  // namespace

int32_t ControlDefinitionAppend(WindowRecord* record, uint32_t exStyle, const char* className, const char* text,
                                uint32_t style, int32_t x, int32_t y, int32_t cx, int32_t cy, int32_t id,
                                int32_t type, int32_t isDefault) {
    return AppendDefinition(record, exStyle, className, text, style, x, y, cx, cy, id, type, isDefault) ? 1 : 0;
}

HWND ControlAddByClass(WindowRecord* record, const char* className, const char* text, int32_t x, int32_t y,
                       int32_t width, int32_t height, uint32_t style, uint32_t exStyle, int32_t id) {
    DialogUnitRect units;
    if (!record || StrLength(className) >= kClassNameRoom || !Placement(record, x, y, width, height, id, &units)) {
        return nullptr;
    }
    const bool dialog = IsDialogRecord(record);
    controls::EnsureCommonControls();
    style |= kChildVisible;
    if (dialog) {
        if (const ControlDefinition* node = AppendDefinition(record, exStyle, className, text, style, units.x, units.y,
                                                             units.cx, units.cy, id, CONTROL_BY_CLASS, 0)) {
            KeepPixelRect(node, x, y, width, height);
        }
        return nullptr;
    }
    HWND control = CreateAtOnce(record, exStyle, className, text, style, x, y, width, height, id);
    ControlAttachNew(control, CONTROL_BY_CLASS);
    return control;
}

// Small, so that a whole-program build folds it into each call and links the
// hot-tracking buttons and the image loading only for calls that need them.
int32_t ControlAdd(WindowRecord* record, ControlType type, const char* text, int32_t x, int32_t y, int32_t width,
                   int32_t height, uint32_t style, int32_t id) {
    if (type == CONTROL_HOT_BUTTON) HotButtonsUsed();
    if (((type == CONTROL_PUSH_BUTTON || type == CONTROL_HOT_BUTTON) && (style & BS_BITMAP) == BS_BITMAP) ||
        (type == CONTROL_LABEL && (style & SS_BITMAP) == SS_BITMAP)) {
        PictureControlsUsed();
    }
    return AddControl(record, type, text, x, y, width, height, style, id);
}
