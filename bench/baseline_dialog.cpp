// The name-entry dialog made with direct Win32 calls and no runtime: the
// baseline that the start-up benchmark compares the application with.
#include <windows.h>

#include <cwchar>

namespace {

// Appends a wide string to the template being built.
WORD* PutWide(WORD* at, const wchar_t* text) {
    const size_t length = std::wcslen(text) + 1;
    std::wmemcpy(reinterpret_cast<wchar_t*>(at), text, length);
    return at + length;
}

WORD* AlignItem(WORD* at) {
    return reinterpret_cast<WORD*>((reinterpret_cast<ULONG_PTR>(at) + 3) & ~static_cast<ULONG_PTR>(3));
}

WORD* PutItem(WORD* at, DWORD style, DWORD exStyle, short x, short y, short cx, short cy, WORD id,
              const wchar_t* className, const wchar_t* text) {
    at = AlignItem(at);
    auto* item = reinterpret_cast<DLGITEMTEMPLATE*>(at);
    *item = DLGITEMTEMPLATE{style, exStyle, x, y, cx, cy, id};
    at = reinterpret_cast<WORD*>(item + 1);
    at = PutWide(at, className);
    at = PutWide(at, text);
    *at++ = 0;
    return at;
}

INT_PTR CALLBACK BaselineProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            RECT work;
            RECT r;
            SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
            GetWindowRect(dialog, &r);
            SetWindowPos(dialog, nullptr, (work.left + work.right) / 2 - (r.right - r.left) / 2,
                         (work.top + work.bottom) / 2 - (r.bottom - r.top) / 2, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return TRUE;
        }
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            RECT r = item->rcItem;
            DrawFrameControl(item->hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
            SetBkMode(item->hDC, TRANSPARENT);
            DrawTextA(item->hDC, "OK", 2, &item->rcItem, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            return TRUE;
        }
        case WM_CLOSE:
            DestroyWindow(dialog);
            return TRUE;
        case WM_DESTROY:
            PostQuitMessage(0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    alignas(4) WORD buffer[512] = {};
    auto* header = reinterpret_cast<DLGTEMPLATE*>(buffer);
    *header = DLGTEMPLATE{0x90C800C0, 0, 3, 0, 18, 220, 74};
    WORD* at = reinterpret_cast<WORD*>(header + 1);
    *at++ = 0;  // menu
    *at++ = 0;  // the system dialog class
    at = PutWide(at, L"Enter Your Name");
    *at++ = 8;
    at = PutWide(at, L"MS Sans Serif");
    at = PutItem(at, 0x5000010B, 0, 9, 9, 47, 12, 1, L"STATIC", L"Your Name");
    at = PutItem(at, 0x50800000, WS_EX_CLIENTEDGE, 9, 20, 167, 13, 2, L"EDIT", L"");
    PutItem(at, 0x5000000B, 0, 160, 48, 47, 12, 3, L"BUTTON", L"OK");

    HWND dialog = CreateDialogIndirectParamW(instance, header, nullptr, BaselineProc, 0);
    ShowWindow(dialog, SW_SHOW);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return 0;
}
