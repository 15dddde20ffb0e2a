// A message box centred over its owner by a thread CBT hook.
//
// The box is placed when its frame is created, as the hook's creation
// parameters allow. The platform's message box may lay itself out and move
// again while it initialises, so the hook centres the box once more, with its
// final size, when the box is first activated. Only the box is touched: other
// windows made while it is open (by timers or handlers inside its loop) are
// not the hook's business.
#include "rt_core.h"
#include "rt_winutil_internal.h"

HHOOK MessageBoxHook;

namespace {

#define RT_PROP_CENTRE_PENDING "RT_CENTRE_PENDING"

// Set from the call of MessageBoxA until its box is created: the box is the
// first window of the system dialog class made meanwhile.
bool boxPending;

POINT CentredOver(HWND reference, int width, int height) {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT r;
    GetWindowRect(reference ? reference : GetDesktopWindow(), &r);
    // The lower limit is the screen origin, the upper the work area.
    return POINT{ClampedPosition(CentredPosition(r.left, r.right, width), width, 0, work.right),
                 ClampedPosition(CentredPosition(r.top, r.bottom, height), height, 0, work.bottom)};
}

}  // namespace

LRESULT CALLBACK MessageBoxHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        HWND window = reinterpret_cast<HWND>(wParam);
        if (boxPending && ClassAtom(window) == RT_SYSTEM_DIALOG_ATOM) {
            boxPending = false;
            const POINT at = CentredOver(create->hwndParent, create->cx, create->cy);
            create->x = at.x;
            create->y = at.y;
            SetPropA(window, RT_PROP_CENTRE_PENDING, reinterpret_cast<HANDLE>(1));
            return 0;
        }
    } else if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (RemovePropA(window, RT_PROP_CENTRE_PENDING)) {
            RECT r;
            GetWindowRect(window, &r);
            const int width = r.right - r.left;
            const int height = r.bottom - r.top;
            const POINT at = CentredOver(GetWindow(window, GW_OWNER), width, height);
            SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    return CallNextHookEx(MessageBoxHook, code, wParam, lParam);
}

int32_t MessageBoxCentered(const WindowRecord* record, const char* text, const char* caption, UINT type) {
    // A record whose window has gone is no owner: the box is shown unowned.
    HWND owner = record && IsWindow(record->hwnd) ? record->hwnd : nullptr;
    if (type == 0) type = MB_OK | MB_ICONEXCLAMATION;
    // Each call keeps its own hook: a box opened from inside another box's
    // loop must neither remove the outer hook nor leave its own installed.
    const HHOOK outer = MessageBoxHook;
    const bool outerPending = boxPending;
    const HHOOK own = SetWindowsHookExA(WH_CBT, MessageBoxHookProc, nullptr, GetCurrentThreadId());
    MessageBoxHook = own;
    boxPending = true;
    const int32_t result = MessageBoxA(owner, text, caption, type);
    boxPending = outerPending;
    if (own) UnhookWindowsHookEx(own);
    MessageBoxHook = outer;
    return result;
}
