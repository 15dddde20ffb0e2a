// Attaching a control: its colour properties and its subclass procedure.
#include "rt_core.h"
#include "subclass_common.h"

namespace {

struct TypeEntry {
    WNDPROC procedure;
    int backgroundIndex;
};

TypeEntry EntryFor(int32_t type) {
    switch (type) {
        case CONTROL_PUSH_BUTTON: return {PushButtonProc, COLOR_BTNFACE};
        case CONTROL_CHECK_BOX:
        case CONTROL_RADIO_BUTTON:
        case CONTROL_GROUP_BOX:
        case CONTROL_SYSTEM_BUTTON: return {GenericControlProc, COLOR_BTNFACE};
        case CONTROL_EDIT:
        case CONTROL_LIST_BOX:
        case CONTROL_COMBO_BOX: return {GenericControlProc, COLOR_WINDOW};
        case CONTROL_LABEL: return {StaticControlProc, COLOR_BTNFACE};
        case CONTROL_SCROLL_BAR: return {GenericControlProc, COLOR_SCROLLBAR};
        case CONTROL_HOT_BUTTON:
            return {controls::hotButtonProcedure ? controls::hotButtonProcedure : GenericControlProc, COLOR_BTNFACE};
        default: return {GenericControlProc, COLOR_WINDOW};
    }
}

HANDLE AsProperty(uintptr_t value) { return reinterpret_cast<HANDLE>(value); }

// Labels, check boxes, radio buttons and group boxes show their parent
// around their text: on a runtime window its background colour, not a
// button-face box (a dialog's background is that colour already).
COLORREF Background(HWND control, int32_t type, int index) {
    if (type == CONTROL_LABEL || type == CONTROL_CHECK_BOX || type == CONTROL_RADIO_BUTTON ||
        type == CONTROL_GROUP_BOX) {
        const WindowRecord* parent = WindowRecordOf(GetParent(control));
        if (parent && !parent->isDialog) return parent->windowColor;
    }
    return GetSysColor(index);
}

}  // namespace

namespace controls {

WNDPROC hotButtonProcedure;
void (*noteHotObjects)(HWND);

}  // namespace controls

int32_t ControlSubclass(HWND control, int32_t type) {
    if (type == CONTROL_HOT_BUTTON) HotButtonsUsed();
    // The style may become a picture's later, by the program's own hand.
    if (type == CONTROL_PUSH_BUTTON || type == CONTROL_HOT_BUTTON || type == CONTROL_LABEL) PictureControlsUsed();
    return ControlAttach(control, type);
}

int32_t ControlAttach(HWND control, int32_t type) {
    // Attached once: a second attach would make the procedure its own
    // previous procedure.
    if (!control || GetPropA(control, RT_PROP_PREVIOUS_PROC)) return 0;
    return ControlAttachNew(control, type);
}

int32_t ControlAttachNew(HWND control, int32_t type) {
    if (!control) return 0;
    const TypeEntry entry = EntryFor(type);
    const COLORREF background = Background(control, type, entry.backgroundIndex);
    SetPropA(control, RT_PROP_TEXT_COLOUR, AsProperty(GetSysColor(COLOR_BTNTEXT)));
    SetPropA(control, RT_PROP_BACK_COLOUR, AsProperty(background));
    if (type == CONTROL_SCROLL_BAR) {
        SetPropA(control, RT_PROP_BACK_BRUSH, nullptr);
    } else {
        // Noted as held when the control first answers with it: until then
        // no other control can have drawn with it.
        SetPropA(control, RT_PROP_BACK_BRUSH, CreateSolidBrush(background));
        if (type == CONTROL_HOT_BUTTON) {
            SetPropA(control, RT_PROP_HOT_COLOUR, AsProperty(background));
            SetPropA(control, RT_PROP_BORDER_WIDTH, AsProperty(1));
        }
    }
    const LONG_PTR previous =
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry.procedure));
    SetPropA(control, RT_PROP_PREVIOUS_PROC, reinterpret_cast<HANDLE>(previous));
    controls::NoteAttached(control, type == CONTROL_HOT_BUTTON);

    // The procedure never sees WM_CREATE: load the image the creation text
    // names now, as setting the text later would.
    controls::LoadImageIfPicture(control, type, nullptr);
    return 0;
}
