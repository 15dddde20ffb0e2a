// Runtime windows: the two window classes and WindowCreate.
#include "rt_controls_internal.h"
#include "rt_dpi.h"
#include "rt_events.h"
#include "rt_windows_internal.h"

#include <algorithm>

WindowRecord* CreatingWindow;

namespace {

ATOM RegisterRuntimeClass(const char* name, UINT style, HBRUSH background) {
    HINSTANCE module = GetModuleHandleA(nullptr);
    HICON icon = LoadIconA(module, MAKEINTRESOURCEA(WINDOW_ICON_ID));
    if (!icon) icon = LoadIconA(nullptr, IDI_APPLICATION);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = style;
    windowClass.lpfnWndProc = WindowProc;
    // Slot 0: the record; slot 1: the memory DC that paints copy the backing
    // bitmap through (see WindowPaintDc).
    windowClass.cbWndExtra = 2 * sizeof(void*);
    windowClass.hInstance = module;
    windowClass.hIcon = icon;
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    return RegisterClassExA(&windowClass);
}

HMENU BuildWindowMenu(HMENU* popup) {
    HMENU bar = CreateMenu();
    *popup = CreatePopupMenu();
    AppendMenuA(*popup, MF_STRING, IDM_CASCADE, "&Cascade");
    AppendMenuA(*popup, MF_STRING, IDM_TILE, "&Tile");
    AppendMenuA(*popup, MF_STRING, IDM_ARRANGE, "&Arrange Icons");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(*popup), "&Window");
    return bar;
}

HWND CreateMdiClient(HWND frame, HMENU windowMenu) {
    RECT client;
    GetClientRect(frame, &client);
    CLIENTCREATESTRUCT create{};
    create.hWindowMenu = windowMenu;
    create.idFirstChild = MDI_FIRST_CHILD_ID;
    return CreateWindowExA(0, "MDICLIENT", "", WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, 0, 0,
                           client.right, client.bottom, frame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(MDI_CLIENT_ID)),
                           GetModuleHandleA(nullptr), &create);
}

// The drawing state of a fresh DC, and the screen-sized backing bitmap.
void CaptureDrawingState(WindowRecord* record, int32_t width, int32_t height, EventHandler handler) {
    const SIZE screen = ScreenAtDpi(WindowDpi(record->hwnd));
    const int screenWidth = screen.cx;
    const int screenHeight = screen.cy;
    HDC windowDc = GetDC(record->hwnd);
    if (!windowDc) {
        // Still a working window: keep its handler.
        record->handler = handler;
        return;
    }
    HDC memory = CreateCompatibleDC(windowDc);
    record->windowColor = GetSysColor(COLOR_WINDOW);
    HGDIOBJ previousBitmap = nullptr;
    if (record->hasBackBitmap) {
        record->backBitmap = BackingBitmap(windowDc, screenWidth, screenHeight);
        previousBitmap = SelectObject(memory, record->backBitmap);
        FillSolid(memory, 0, 0, screenWidth, screenHeight, record->windowColor);
    } else {
        FillSolid(windowDc, 0, 0, width, height, record->windowColor);
    }
    GetCurrentPositionEx(memory, &record->penPos);
    if (HGDIOBJ pen = GetCurrentObject(memory, OBJ_PEN)) {
        LOGPEN description{};
        if (GetObjectA(pen, sizeof(description), &description)) record->pen = CreatePenIndirect(&description);
    }
    if (HGDIOBJ font = GetCurrentObject(memory, OBJ_FONT)) {
        LOGFONTA description{};
        if (GetObjectA(font, sizeof(description), &description)) record->font = CreateFontIndirectA(&description);
    }
    record->bkMode = GetBkMode(memory);
    record->bkColor = GetBkColor(memory);
    record->rop2 = GetROP2(memory);
    record->cursor = LoadCursorA(nullptr, IDC_ARROW);
    record->spareB = 1;
    record->spareA = 0;
    record->isDialog = 0;
    record->handler = handler;
    if (record->hasBackBitmap) {
        // Kept for the window's life: making a DC costs a paint more than
        // the copy does. The bitmap is selected only while a paint copies,
        // so that the program can select it into a DC of its own.
        SelectObject(memory, previousBitmap);
        SetWindowLongPtrA(record->hwnd, sizeof(void*), reinterpret_cast<LONG_PTR>(memory));
    } else {
        DeleteDC(memory);
    }
    ReleaseDC(record->hwnd, windowDc);
}

// A position and a size along one axis, edge by edge.
void ScaleSpan(int32_t* position, int32_t* size, int32_t dpi) {
    if (*position != CW_USEDEFAULT) {
        *size = ToDevicePixels(*position + *size, dpi) - ToDevicePixels(*position, dpi);
        *position = ToDevicePixels(*position, dpi);
    } else if (*size != CW_USEDEFAULT) {
        *size = ToDevicePixels(*size, dpi);
    }
}

}  // namespace

SIZE ScreenAtDpi(int32_t dpi) {
    const int32_t system = WindowDpi(nullptr);
    const int32_t scale = std::max(dpi, system);
    return SIZE{MulDiv(GetSystemMetrics(SM_CXSCREEN), scale, system), MulDiv(GetSystemMetrics(SM_CYSCREEN), scale, system)};
}

// On a 32-bit screen, a section of the screen's own pixel format: the
// platform selects such a bitmap into a DC without consulting the display,
// which it does for a device bitmap at every selection, so every paint.
HBITMAP BackingBitmap(HDC windowDc, int width, int height) {
    if (GetDeviceCaps(windowDc, BITSPIXEL) != 32) return CreateCompatibleBitmap(windowDc, width, height);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(windowDc, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    return bitmap ? bitmap : CreateCompatibleBitmap(windowDc, width, height);
}

int32_t WindowClassesRegister() {
    if (WindowClassAtom == 0) {
        WindowClassAtom = RegisterRuntimeClass("CorvantisWndClass", CS_BYTEALIGNCLIENT | CS_DBLCLKS,
                                               static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    if (FrameClassAtom == 0) {
        FrameClassAtom = RegisterRuntimeClass("CorvantisFrameClass", CS_BYTEALIGNWINDOW | CS_DBLCLKS,
                                              reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1));
    }
    return 0;
}

int32_t WindowCreate(WindowRecord* record, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t style,
                     const WindowRecord* parent, const char* title, EventHandler handler) {
    // One window per record: its objects and its slot would be orphaned.
    if (!record || RecordHasWindow(record)) return 0;
    HINSTANCE module = GetModuleHandleA(nullptr);
    WindowClassesRegister();
    WindowsInDialogsFollowDpi();
    HWND parentWindow = parent ? parent->hwnd : nullptr;

    const bool frame = (style & WINOPT_FRAME) != 0;
    const bool noCaption = (style & WINOPT_NOCAPTION) != 0;
    record->hasBackBitmap = (style & WINOPT_NOBITMAP) ? 0 : 1;
    DWORD exStyle = (style & WINOPT_TOOLWINDOW) ? WS_EX_TOOLWINDOW : 0;
    if (style & WINOPT_TOPMOST) exStyle |= WS_EX_TOPMOST;
    style = (style & ~WINOPT_ALL) | WS_VISIBLE;
    if (!parentWindow) {
        style |= WS_POPUP | WS_CLIPCHILDREN;
    } else {
        style |= WS_CHILD | WS_CLIPSIBLINGS;
        if (parent->mdiClient) {
            exStyle |= WS_EX_MDICHILD;
            parentWindow = parent->mdiClient;
        }
    }
    if (!noCaption) style |= WS_CAPTION | WS_SYSMENU;

    record->handler = handler;
    record->eventDc = nullptr;
    record->drawDc = nullptr;
    record->spareC = 0;
    record->kind = 0;
    record->mdiClient = nullptr;
    record->spareE = 0;
    record->spareD = 0;
    record->noErase = 0;
    record->hooks = nullptr;
    // The window procedure binds the first window without a record that it
    // sees to hwnd 0. A window made from a handler inside this creation has a
    // hand-off of its own; the outer one is put back afterwards.
    record->hwnd = nullptr;
    WindowRecord* const outer = CreatingWindow;
    CreatingWindow = record;
    // 96-DPI pixels at the DPI the window will have: its parent's, or the
    // system's for a top-level window. The system's own default placement
    // stays its own.
    const int32_t dpi = WindowDpi(parentWindow);
    ScaleSpan(&x, &width, dpi);
    ScaleSpan(&y, &height, dpi);
    HWND window = CreateWindowExA(exStyle, frame ? "CorvantisFrameClass" : "CorvantisWndClass", title ? title : "",
                                  style, x, y, width, height, parentWindow, nullptr, module, nullptr);
    CreatingWindow = outer;
    record->hwnd = window;
    record->handler = nullptr;
    if (!record->hwnd) return 0;

    if (style & WS_MAXIMIZE) {
        ShowWindow(record->hwnd, SW_SHOWMAXIMIZED);
    } else if (style & WS_MINIMIZE) {
        ShowWindow(record->hwnd, SW_MINIMIZE);
    }
    if (frame) {
        HMENU windowMenu = nullptr;
        SetMenu(record->hwnd, BuildWindowMenu(&windowMenu));
        record->mdiClient = CreateMdiClient(record->hwnd, windowMenu);
        MdiKeyTranslator = TranslateMDISysAccel;
        MdiClientAtom = ClassAtom(record->mdiClient);
        ShowWindow(record->mdiClient, SW_SHOW);
    } else if (MdiClientAtom == 0) {
        MdiClientAtom = 0xFFFF;
    }
    CaptureDrawingState(record, width, height, handler);
    SetWindowLongPtrA(record->hwnd, 0, reinterpret_cast<LONG_PTR>(record));
    return 1;
}
