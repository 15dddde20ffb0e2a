// Finding the WindowRecord behind a window. Only windows of the runtime's own
// classes carry one: slot 0 of any other class is that class's own data, and
// slot 0 of a dialog is the dialog manager's message-result slot.
#include "rt_core.h"

namespace {

bool IsRuntimeDialog(HWND window) {
    return DialogClassAtom != 0 && ClassAtom(window) == DialogClassAtom;
}

// A runtime dialog keeps its record twice: in its "DLGPTR" property, which
// others may read, and in the last pointer of its class's extra bytes, past
// the dialog manager's. Reading a property can be a round trip to the window
// manager, and the record is needed for every message the dialog gets.
int RecordSlot(HWND runtimeDialog) {
    return static_cast<int>(GetClassLongA(runtimeDialog, GCL_CBWNDEXTRA)) - static_cast<int>(sizeof(void*));
}

WindowRecord* DialogRecordIn(HWND window, bool runtimeDialog) {
    if (runtimeDialog) {
        if (auto* record = reinterpret_cast<WindowRecord*>(GetWindowLongPtrA(window, RecordSlot(window)))) {
            return record;
        }
    }
    // Bound by other code through the property alone, or not bound yet.
    return static_cast<WindowRecord*>(GetPropA(window, RT_PROP_DIALOG_RECORD));
}

}  // namespace

WindowRecord* DialogRecordOf(HWND window) {
    return window ? DialogRecordIn(window, IsRuntimeDialog(window)) : nullptr;
}

void DialogRecordBind(HWND window, WindowRecord* record) {
    if (record) {
        SetPropA(window, RT_PROP_DIALOG_RECORD, record);
    } else {
        RemovePropA(window, RT_PROP_DIALOG_RECORD);
    }
    if (IsRuntimeDialog(window)) SetWindowLongPtrA(window, RecordSlot(window), reinterpret_cast<LONG_PTR>(record));
}

WindowRecord* WindowRecordOf(HWND window) {
    if (!window) return nullptr;
    const uint16_t atom = ClassAtom(window);
    if (atom == 0) return nullptr;
    if (atom == DialogClassAtom) return DialogRecordIn(window, true);
    if (atom == WindowClassAtom || atom == FrameClassAtom) {
        return reinterpret_cast<WindowRecord*>(GetWindowLongPtrA(window, 0));
    }
    return nullptr;
}

bool RecordHasWindow(const WindowRecord* record) {
    // A destroyed window leaves a window record its old handle, which the
    // system may give to another window: ask the window whose record it is.
    return record && record->hwnd && WindowRecordOf(record->hwnd) == record;
}
