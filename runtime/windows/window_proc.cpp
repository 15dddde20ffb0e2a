// The window procedure of the runtime's windows: events for the handler, the
// right default procedure for ordinary windows, frames and MDI children,
// reflection to controls, erasing and repainting from the backing bitmap.
#include "rt_controls_internal.h"
#include "rt_events.h"
#include "rt_windows_internal.h"

namespace {

struct PaintContext {
    HWND window;
    HDC dc;
};

BOOL CALLBACK ExcludeChildCallback(HWND child, LPARAM param) {
    const auto* context = reinterpret_cast<const PaintContext*>(param);
    if (IsWindowVisible(child)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, context->window, reinterpret_cast<POINT*>(&r), 2);
        ExcludeClipRect(context->dc, r.left, r.top, r.right, r.bottom);
    }
    return TRUE;
}

// Slot 0 holds a record only in the runtime's own window classes; painting
// and erasing may be asked for any window.
WindowRecord* RecordOf(HWND window) {
    if (!window) return nullptr;
    const uint16_t atom = ClassAtom(window);
    if (atom == 0 || (atom != WindowClassAtom && atom != FrameClassAtom)) return nullptr;
    return reinterpret_cast<WindowRecord*>(GetWindowLongPtrA(window, 0));
}

// An MDI child is a window whose parent is of the first frame's MDI client
// class; until a frame exists no window counts as one.
bool IsMdiChild(HWND window) {
    if (MdiClientAtom == 0 || MdiClientAtom == 0xFFFF) return false;
    HWND parent = GetParent(window);
    return parent && ClassAtom(parent) == MdiClientAtom;
}

LRESULT DefaultProcessing(HWND window, WindowRecord* record, uint16_t atom, UINT message, WPARAM wParam,
                          LPARAM lParam) {
    if (record && atom == FrameClassAtom) {
        // A bar made on the frame, by the runtime or by the program itself:
        // the client moves out of its way at once, not at the next resize.
        if (message == WM_PARENTNOTIFY && LOWORD(wParam) == WM_CREATE && record->mdiClient &&
            reinterpret_cast<HWND>(lParam) != record->mdiClient) {
            FitClientToBars(window, record->mdiClient);
        }
        if (message == WM_SIZE && wParam != SIZE_MINIMIZED && record->mdiClient &&
            FitClientToBars(window, record->mdiClient)) {
            return 0;
        }
        return DefFrameProcA(window, record->mdiClient, message, wParam, lParam);
    }
    if (IsMdiChild(window)) return DefMDIChildProcA(window, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

// The window's GDI objects go with it; the record keeps its handle.
void ReleaseWindowObjects(HWND window, WindowRecord* record) {
    if (!record || record->hwnd != window) return;
    if (HDC kept = reinterpret_cast<HDC>(GetWindowLongPtrA(window, sizeof(void*)))) {
        SetWindowLongPtrA(window, sizeof(void*), 0);
        DeleteDC(kept);
    }
    // A drawing DC left open would keep the bitmap from being deleted.
    if (record->drawDc) DeleteDC(record->drawDc);
    record->drawDc = nullptr;
    if (record->backBitmap) DeleteObject(record->backBitmap);
    if (record->pen) DeleteObject(record->pen);
    if (record->font) DeleteObject(record->font);
    record->backBitmap = nullptr;
    record->pen = nullptr;
    record->font = nullptr;
}

}  // namespace

int32_t WindowEraseBackground(HWND window, WPARAM wParam, LPARAM lParam) {
    if (!window) return 1;
    HDC dc = reinterpret_cast<HDC>(wParam);
    WindowRecord* record = RecordOf(window);
    COLORREF colour = GetSysColor(COLOR_WINDOW);
    if (record) {
        if (record->noErase || record->hooks) return 1;
        colour = record->windowColor;
    }
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ previous = SelectObject(dc, brush);
    RECT box;
    GetClipBox(dc, &box);
    PatBlt(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, PATCOPY);
    SelectObject(dc, previous);
    DeleteObject(brush);
    if (record) {
        SaveDC(dc);
        record->eventDc = dc;
        DispatchEvent(record, EVENT_ERASE, wParam, lParam);
        record->eventDc = nullptr;
        RestoreDC(dc, -1);
    }
    return 1;
}

int32_t WindowPaint(HWND window, WPARAM wParam, LPARAM lParam) {
    WindowRecord* record = RecordOf(window);
    if (!record) return 1;
    // The rectangle BeginPaint gives is the update's bounds: asking the
    // system again costs a round trip per paint.
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(record->hwnd, &paint);
    const RECT update = paint.rcPaint;
    // With WS_CLIPCHILDREN the paint DC already leaves the children out;
    // listing them would cost a round trip per paint.
    if (!(GetWindowLongPtrA(record->hwnd, GWL_STYLE) & WS_CLIPCHILDREN)) {
        PaintContext context{record->hwnd, dc};
        EnumChildWindows(record->hwnd, ExcludeChildCallback, reinterpret_cast<LPARAM>(&context));
    }
    if (!record->hasBackBitmap) {
        DispatchEvent(record, WM_PAINT, wParam, lParam);
    } else {
        // From the program's drawing DC while it has one open on the bitmap,
        // else through the DC kept for the window: the whole update
        // rectangle either way, as erasing may have covered any of it.
        HDC source = record->drawDc;
        HDC kept = nullptr;
        HGDIOBJ previous = nullptr;
        bool made = false;
        if (!source) {
            kept = reinterpret_cast<HDC>(GetWindowLongPtrA(record->hwnd, sizeof(void*)));
            made = kept == nullptr;  // a window that could not have one made at creation
            if (made) kept = CreateCompatibleDC(dc);
            previous = SelectObject(kept, record->backBitmap);
            source = kept;
        }
        if (!kept) DeviceUnitsSave(source);
        BitBlt(dc, update.left, update.top, update.right - update.left, update.bottom - update.top, source,
               update.left, update.top, SRCCOPY);
        if (!kept) RestoreDC(source, -1);
        if (kept) {
            SelectObject(kept, previous);
            if (made) DeleteDC(kept);
        }
    }
    EndPaint(record->hwnd, &paint);
    return 1;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const uint16_t atom = ClassAtom(window);
    WindowRecord* record = RecordOf(window);
    LRESULT result = 0;

    if (message == WM_PAINT) {
        result = WindowPaint(window, wParam, lParam);
    } else if (message == WM_ERASEBKGND) {
        result = WindowEraseBackground(window, wParam, lParam);
    } else if (IsReflectedMessage(message)) {
        LRESULT answer = 0;
        if (ReflectToControl(message, wParam, lParam, &answer)) return answer;
        // No control named: default processing.
    } else if (record && message == WM_DPICHANGED_AFTERPARENT && wParam == 0) {
        // The system's notice; the runtime sends its own, with the DPI.
    } else if (record) {
        if (message == WM_SIZE || message == WM_SIZING) DispatchEvent(record, EVENT_SIZE, wParam, lParam);
        const bool dpiChanged = message == WM_DPICHANGED &&
                                WindowFollowDpi(window, record, LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        // A close only raises the event: the handler decides, and no default
        // procedure ever sees WM_CLOSE.
        if (message == WM_CLOSE) message = EVENT_CLOSE;
        if (message == WM_LBUTTONDOWN) {
            SetFocus(window);
            SetActiveWindow(window);
        }
        result = DispatchEvent(record, message, wParam, lParam);
        if (dpiChanged) WindowDpiTellChildren(window, LOWORD(wParam));
    } else if (CreatingWindow && (!CreatingWindow->hwnd || CreatingWindow->hwnd == window)) {
        CreatingWindow->hwnd = window;
        result = DispatchEvent(CreatingWindow, message, wParam, lParam);
    }

    if (result == 0) {
        result = DefaultProcessing(window, record, atom, message, wParam, lParam);
        if (message == WM_SETCURSOR && result == 0 && LOWORD(lParam) == HTCLIENT && record &&
            reinterpret_cast<HWND>(wParam) == record->hwnd) {
            SetCursor(record->cursor);
        }
        if (message == WM_SIZE && record && record->hooks && record->hooks->resize) {
            record->hooks->resize(record->hwnd, static_cast<int32_t>(lParam & 0xFFFF),
                                  static_cast<int32_t>((lParam >> 16) & 0xFFFF));
        }
    }
    // Children without WS_EX_NOPARENTNOTIFY tell their parent they were made.
    if (message == WM_PARENTNOTIFY && LOWORD(wParam) == WM_CREATE) NoteChildId(window, HIWORD(wParam));
    if (message == WM_DESTROY) ControlsReleaseBegin();
    if (message == WM_NCDESTROY) {
        ForgetChildIds(window);
        WindowDpiForget(window);
        ControlsReleaseEnd();
        ReleaseWindowObjects(window, record);
    }
    return result;
}
