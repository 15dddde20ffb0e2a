#include "record_windows.h"

#include "rt_events.h"
#include "rt_windows_internal.h"

namespace {

// Keys are dispatched too, so that a key handled twice shows in the log.
bool IsDispatched(UINT message) {
    return message == WM_COMMAND || message == WM_CLOSE || message == WM_KEYDOWN || message == WM_CHAR ||
           message >= WM_USER;
}

WindowRecord* RecordFromCreation(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        void* param = create->lpCreateParams;
        // MDI children receive their parameter through MDICREATESTRUCT.
        if (create->dwExStyle & WS_EX_MDICHILD) {
            param = reinterpret_cast<void*>(reinterpret_cast<const MDICREATESTRUCTA*>(param)->lParam);
        }
        SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(param));
    }
    return reinterpret_cast<WindowRecord*>(GetWindowLongPtrA(window, 0));
}

LRESULT CALLBACK RecordWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* record = RecordFromCreation(window, message, lParam);
    if (record && IsDispatched(message)) {
        if (message == WM_CLOSE) return DispatchEvent(record, message, wParam, lParam);
        DispatchEvent(record, message, wParam, lParam);
    }
    if (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_MDICHILD) {
        return DefMDIChildProcA(window, message, wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK RecordFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* record = RecordFromCreation(window, message, lParam);
    if (record && IsDispatched(message) && message != WM_CLOSE) DispatchEvent(record, message, wParam, lParam);
    return DefFrameProcA(window, record ? record->mdiClient : nullptr, message, wParam, lParam);
}

ATOM Register(const char* name, WNDPROC procedure) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.cbWndExtra = sizeof(void*);
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = name;
    return RegisterClassExA(&windowClass);
}

}  // namespace

void RegisterRecordWindowClasses() {
    if (WindowClassAtom == 0) WindowClassAtom = Register("RtTestRecordWindow", RecordWindowProc);
    if (FrameClassAtom == 0) FrameClassAtom = Register("RtTestRecordFrame", RecordFrameProc);
}

HWND CreateRecordWindow(WindowRecord* record, HWND parent, DWORD style) {
    RegisterRecordWindowClasses();
    record->hwnd = CreateWindowExA(0, "RtTestRecordWindow", "record window", style, 10, 10, 300, 200,
                                   parent, nullptr, GetModuleHandleA(nullptr), record);
    return record->hwnd;
}

HWND CreateRecordFrame(WindowRecord* record) {
    RegisterRecordWindowClasses();
    record->hwnd = CreateWindowExA(0, "RtTestRecordFrame", "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                   600, 400, nullptr, nullptr, GetModuleHandleA(nullptr), record);
    CLIENTCREATESTRUCT client{};
    client.idFirstChild = 16464;
    record->mdiClient = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                        600, 400, record->hwnd, reinterpret_cast<HMENU>(3244),
                                        GetModuleHandleA(nullptr), &client);
    return record->hwnd;
}

HWND CreateRecordMdiChild(WindowRecord* frame, WindowRecord* child, const char* title) {
    MDICREATESTRUCTA create{};
    create.szClass = "RtTestRecordWindow";
    create.szTitle = title;
    create.hOwner = GetModuleHandleA(nullptr);
    create.x = create.y = create.cx = create.cy = CW_USEDEFAULT;
    create.style = WS_VISIBLE;
    create.lParam = reinterpret_cast<LPARAM>(child);
    child->hwnd = reinterpret_cast<HWND>(SendMessageA(frame->mdiClient, WM_MDICREATE, 0,
                                                      reinterpret_cast<LPARAM>(&create)));
    return child->hwnd;
}

void DrainMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
