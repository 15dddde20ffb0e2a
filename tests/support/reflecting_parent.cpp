#include "reflecting_parent.h"

#include "rt_controls_internal.h"
#include "rt_events.h"

namespace {

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* parent = reinterpret_cast<ReflectingParent*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (parent) {
        if (message == WM_DRAWITEM) ++parent->draws[reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem];
        LRESULT answer = 0;
        if (ReflectToControl(message, wParam, lParam, &answer)) return answer;
        switch (message) {
            case DM_GETDEFID:
                return parent->defaultId ? MAKELONG(parent->defaultId, DC_HASDEFID) : 0;
            case WM_GETFONT:
                return reinterpret_cast<LRESULT>(parent->font);
            case WM_COMMAND:
                DispatchEvent(&parent->record, message, wParam, lParam);
                return 0;
            default:
                break;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

ReflectingParent::ReflectingParent(int width, int height) {
    static ATOM atom = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = ParentProc;
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = "RtReflectingParent";
        return RegisterClassA(&windowClass);
    }();
    (void)atom;
    hwnd = CreateWindowExA(0, "RtReflectingParent", "parent", WS_POPUP | WS_VISIBLE | WS_BORDER, 50, 50, width,
                           height, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    record.hwnd = hwnd;
}

ReflectingParent::~ReflectingParent() {
    DestroyWindow(hwnd);
}

HWND ReflectingParent::AddChild(const char* className, const char* text, DWORD style, int x, int y, int width,
                                int height, int id) const {
    return CreateWindowExA(0, className, text, style | WS_CHILD | WS_VISIBLE, x, y, width, height, hwnd,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}
