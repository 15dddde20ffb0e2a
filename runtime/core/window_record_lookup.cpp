// Finding the WindowRecord behind a window. Only windows of the runtime's own
// classes carry one: slot 0 of any other class is that class's own data, and
// slot 0 of a dialog is the dialog manager's message-result slot.
#include "rt_core.h"

WindowRecord* WindowRecordOf(HWND window) {
    if (!window) return nullptr;
    const uint16_t atom = static_cast<uint16_t>(GetClassWord(window, GCW_ATOM));
    if (atom == 0) return nullptr;
    if (atom == DialogClassAtom) {
        return static_cast<WindowRecord*>(GetPropA(window, RT_PROP_DIALOG_RECORD));
    }
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
