// The DPI of windows and the conversion of 96-DPI pixels. The per-window
// call is looked up, not imported: systems before it run the program at the
// system DPI.
#include "rt_controls_internal.h"
#include "rt_dpi.h"

namespace {

int32_t SystemDpi() {
    static int32_t dpi;
    if (!dpi) {
        HDC screen = GetDC(nullptr);
        dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        if (dpi <= 0) dpi = DPI_BASE;
    }
    return dpi;
}

}  // namespace

int32_t WindowDpi(HWND window) {
    if (!window) return SystemDpi();
    // A window the runtime placed again for a new DPI is at that DPI, which
    // its top-level window keeps; and a program may send the change itself.
    // Climbed parent by parent: the platform answers those from the process,
    // the root itself only from its server.
    HWND top = window;
    while (top && (GetWindowLongPtrA(top, GWL_STYLE) & WS_CHILD)) top = GetAncestor(top, GA_PARENT);
    if (const uintptr_t placed = KeptValue(top, KEPT_LAID_OUT_DPI)) return static_cast<int32_t>(placed);
    using DpiOfWindow = UINT(WINAPI*)(HWND);
    static FARPROC ofWindow;
    static bool looked;
    if (!looked) {
        looked = true;
        ofWindow = GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow");
    }
    const int32_t dpi =
        ofWindow ? static_cast<int32_t>(reinterpret_cast<DpiOfWindow>(reinterpret_cast<void*>(ofWindow))(window)) : 0;
    return dpi > 0 ? dpi : SystemDpi();
}

int32_t ToDevicePixels(int32_t pixels, int32_t dpi) { return MulDiv(pixels, dpi, DPI_BASE); }

int32_t FromDevicePixels(int32_t devicePixels, int32_t dpi) {
    return dpi > 0 ? MulDiv(devicePixels, DPI_BASE, dpi) : devicePixels;
}
