// Window messages become events: decoded into the event variables, handed to
// the record's handler, and the variables put back for whoever was handling
// an event when this one arrived.
#include "rt_core.h"
#include "rt_events.h"

int32_t EventMessage;
intptr_t EventWParam;
intptr_t EventLParam;
int32_t EventMouseX;
int32_t EventMouseY;
WindowRecord* EventWindow;
int32_t EventControlId;
int32_t EventMenuId;
int32_t EventNotifyCode;

namespace {

int32_t LowWord(uintptr_t value) { return static_cast<int32_t>(value & 0xFFFF); }
int32_t HighWord(uintptr_t value) { return static_cast<int32_t>((value >> 16) & 0xFFFF); }

// The record a menu command is meant for: the topmost MDI child of a frame,
// else the topmost child window, when that is a runtime window. A record
// without a window keeps the event (GetTopWindow of no window is the
// desktop's top window, somebody else's).
// Menu commands are rare beside the messages dispatched per event: these
// stay out of the fast path, built small.
[[gnu::cold, gnu::noinline]] void ResolveMenuTarget(const WindowRecord* record) {
    if (!record->hwnd || !GetWindow(record->hwnd, GW_CHILD)) return;
    HWND target = nullptr;
    if (record->mdiClient) target = GetWindow(record->mdiClient, GW_CHILD);
    if (!target) target = GetWindow(record->hwnd, GW_CHILD);
    if (WindowRecord* found = WindowRecordOf(target)) EventWindow = found;
}

[[gnu::cold, gnu::noinline]] void SendMdiCommand(const WindowRecord* record, int32_t menuId) {
    if (!record->mdiClient) return;
    switch (menuId) {
        case IDM_TILE: SendMessageA(record->mdiClient, WM_MDITILE, MDITILE_HORIZONTAL, 0); break;
        case IDM_CASCADE: SendMessageA(record->mdiClient, WM_MDICASCADE, 0, 0); break;
        case IDM_ARRANGE: SendMessageA(record->mdiClient, WM_MDIICONARRANGE, 0, 0); break;
        default: break;
    }
}

}  // namespace

int32_t DispatchEvent(WindowRecord* record, uint32_t message, WPARAM wParam, LPARAM lParam) {
    if (!record) return 0;
    const int32_t savedMessage = EventMessage;
    const intptr_t savedWParam = EventWParam;
    const intptr_t savedLParam = EventLParam;
    const int32_t savedMouseX = EventMouseX;
    const int32_t savedMouseY = EventMouseY;
    WindowRecord* const savedWindow = EventWindow;
    const int32_t savedNotifyCode = EventNotifyCode;
    const int32_t savedControlId = EventControlId;

    const EventHandler handler = record->handler;
    int32_t result = 0;
    EventWParam = static_cast<intptr_t>(wParam);
    EventLParam = lParam;
    EventWindow = record;

    int32_t code = static_cast<int32_t>(message);
    switch (message) {
        case WM_CLOSE:
            code = EVENT_CLOSE;
            break;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
            EventLParam = static_cast<intptr_t>(wParam);  // the key-state flags
            EventMouseX = LowWord(static_cast<uintptr_t>(lParam));
            EventMouseY = HighWord(static_cast<uintptr_t>(lParam));
            break;
        case WM_HSCROLL:
        case WM_VSCROLL:
            EventControlId = lParam ? ControlId(reinterpret_cast<HWND>(lParam)) : 0;
            EventWParam = LowWord(wParam);
            EventLParam = HighWord(wParam);
            break;
        case WM_COMMAND:
        case EVENT_CONTROL:
            if (lParam) {
                code = EVENT_CONTROL;
                EventNotifyCode = HighWord(wParam);
                EventControlId = LowWord(wParam);
            } else {
                code = EVENT_MENU;
                EventMenuId = LowWord(wParam);
                ResolveMenuTarget(record);
                SendMdiCommand(record, EventMenuId);
            }
            break;
        case WM_NOTIFY:
            code = EVENT_CONTROL;
            if (const auto* header = reinterpret_cast<const NMHDR*>(lParam)) {
                EventNotifyCode = static_cast<int32_t>(header->code);
                EventControlId = static_cast<int32_t>(header->idFrom);
            }
            break;
        case EVENT_SIZE:
            EventLParam = reinterpret_cast<intptr_t>(record->hwnd);
            break;
        default:
            break;
    }
    EventMessage = code;

    if (handler) result = handler();

    EventMessage = savedMessage;
    EventWParam = savedWParam;
    EventLParam = savedLParam;
    EventMouseX = savedMouseX;
    EventMouseY = savedMouseY;
    EventWindow = savedWindow;
    EventNotifyCode = savedNotifyCode;
    EventControlId = savedControlId;
    return result;
}
