// The message pump that user code calls in its wait loop.
#include "rt_core.h"
#include "rt_events.h"

BOOL(WINAPI* MdiKeyTranslator)(HWND, MSG*);

namespace {

bool IsRuntimeClass(HWND window) {
    const uint16_t atom = ClassAtom(window);
    return atom != 0 && (atom == DialogClassAtom || atom == WindowClassAtom || atom == FrameClassAtom);
}

// The next window up the chain the pump searches: only parents count, as
// GetParent of a pop-up is its owner and a pop-up is judged by its own class.
HWND ChainParent(HWND window) {
    return (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) ? GetParent(window) : nullptr;
}

// The record of the message's window or of its nearest runtime ancestor.
// Dialogs resolve through their "DLGPTR"
// property, so that their controls get the dialog manager's keyboard handling
// (Tab, Enter) through the record path.
WindowRecord* FindRecord(HWND window) {
    for (HWND w = window; w; w = ChainParent(w)) {
        if (IsRuntimeClass(w)) return WindowRecordOf(w);
    }
    return nullptr;
}

// Accelerators of the runtime windows from the key's window upward, nearest
// first: a frame's keys work while the focus is in a control of one of its
// MDI children. A frame also answers the MDI keys (Ctrl+F4, Ctrl+F6) for its
// client. The first that takes the key finishes it.
bool TranslateAccelerators(HWND window, MSG* message) {
    for (HWND w = window; w; w = ChainParent(w)) {
        if (!IsRuntimeClass(w)) continue;
        const WindowRecord* record = WindowRecordOf(w);
        if (!record || record->hwnd != w) continue;
        if (record->mdiClient && MdiKeyTranslator && MdiKeyTranslator(record->mdiClient, message)) return true;
        // The property lookup is a round trip to the window manager.
        HACCEL table = static_cast<HACCEL>(GetPropA(w, RT_PROP_ACCELERATORS));
        if (table && TranslateAcceleratorA(w, table, message)) return true;
    }
    return false;
}

// True when the message is still to be translated and dispatched. The key
// filter, the accelerator tables and the dialog manager may each finish it,
// in that order; a finished message is never handled a second time.
bool PassThroughRecord(const WindowRecord* record, MSG* message) {
    if (message->message == WM_KEYDOWN && record->hooks && record->hooks->keyFilter &&
        record->hooks->keyFilter(record->hwnd, message)) {
        return false;
    }
    // Only keys can be accelerators.
    if (message->message >= WM_KEYFIRST && message->message <= WM_KEYLAST &&
        TranslateAccelerators(message->hwnd, message)) {
        return false;
    }
    if (record->isDialog) return !IsDialogMessageA(record->hwnd, message);
    return true;
}

bool PassThroughActiveWindow(MSG* message) {
    HWND active = GetActiveWindow();
    if (active && (GetWindowLongPtrA(active, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)) {
        return !IsDialogMessageA(active, message);
    }
    return true;
}

}  // namespace

int32_t WaitEvents(int32_t noWait) {
    if (noWait == 0) WaitMessage();
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        const WindowRecord* record = FindRecord(message.hwnd);
        const bool dispatch = record && record->hwnd ? PassThroughRecord(record, &message)
                                                     : PassThroughActiveWindow(&message);
        if (dispatch) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return 0;
}
