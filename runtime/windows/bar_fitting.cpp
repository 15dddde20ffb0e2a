// Keeping an MDI client between the toolbars and status bars of its frame.
#include "rt_memory.h"
#include "rt_strings.h"
#include "rt_windows_internal.h"

namespace {

struct BarLayout {
    RECT free;
    int32_t found;
};

constexpr LONG kPlacementMask = 0x3;  // CCS_TOP 1, CCS_NOMOVEY 2, CCS_BOTTOM 3
constexpr LONG kVertical = 0x80;      // CCS_VERT

}  // namespace

BOOL CALLBACK BarMeasureProc(HWND window, LPARAM layoutParam) {
    auto* layout = reinterpret_cast<BarLayout*>(layoutParam);
    char name[20];
    name[0] = 0;
    GetClassNameA(window, name, sizeof(name));
    if (char* upper = StrUpperDuplicate(name)) {
        StrCopy(name, upper);
        HeapRelease(upper);
    } else {
        CharUpperA(name);  // no heap: upper-case in place
    }
    RECT r;
    if (TextEquals(name, "TOOLBARWINDOW32")) {
        GetWindowRect(window, &r);
        const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
        const bool vertical = (style & kVertical) != 0;
        switch (style & kPlacementMask) {
            case 1:
                if (vertical) {
                    layout->free.left += r.right - r.left;
                } else {
                    layout->free.top += r.bottom - r.top;
                }
                break;
            case 3:
                if (vertical) {
                    layout->free.right -= r.right - r.left;
                } else {
                    layout->free.bottom -= r.bottom - r.top;
                }
                break;
            default:
                break;
        }
        layout->found = 1;
    } else if (TextEquals(name, "MSCTLS_STATUSBAR32")) {
        GetWindowRect(window, &r);
        layout->free.bottom -= r.bottom - r.top;
        layout->found = 1;
    }
    return TRUE;
}

int32_t FitClientToBars(HWND frame, HWND client) {
    BarLayout layout{};
    GetClientRect(frame, &layout.free);
    EnumChildWindows(frame, BarMeasureProc, reinterpret_cast<LPARAM>(&layout));
    if (layout.found) {
        MoveWindow(client, layout.free.left, layout.free.top, layout.free.right - layout.free.left,
                   layout.free.bottom - layout.free.top, TRUE);
    }
    return layout.found;
}
