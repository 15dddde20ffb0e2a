// The runtime's window procedure: events, default procedures, reflection,
// erasing, painting from the backing bitmap, focus and cursor.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <vector>

#include "event_log.h"
#include "pixels.h"
#include "record_windows.h"
#include "rt_controls_internal.h"
#include "rt_dialogs_internal.h"
#include "rt_windows_internal.h"

namespace {


class WindowProcTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(WindowCreate(&window_, 100, 100, 300, 200, 0, nullptr, "w", LoggingHandler), 1);
        LoggedEvents.clear();
    }
    void TearDown() override {
        if (IsWindow(window_.hwnd)) DestroyWindow(window_.hwnd);
    }
    WindowRecord window_{};
};

TEST_F(WindowProcTest, CloseRaisesTheEventAndLeavesTheWindowOpen) {
    SendMessageA(window_.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindow(window_.hwnd));
    EXPECT_SEQUENCE(LoggedMessagesAmong({EVENT_CLOSE, WM_CLOSE}), {{{EVENT_CLOSE}}});
}

TEST_F(WindowProcTest, SizeReachesTheHandlerAsEventSizeThenItself) {
    SetWindowPos(window_.hwnd, nullptr, 0, 0, 320, 220, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_SEQUENCE(LoggedMessagesAmong({EVENT_SIZE, WM_SIZE}), {{{EVENT_SIZE}}, {{WM_SIZE}}});
}

int32_t resized[3];
int32_t RecordResize(HWND window, int32_t width, int32_t height) {
    resized[0] = static_cast<int32_t>(reinterpret_cast<intptr_t>(window) != 0);
    resized[1] = width;
    resized[2] = height;
    return 0;
}

TEST_F(WindowProcTest, ResizeRoutineOfTheHooksGetsTheClientSize) {
    WindowHooks hooks{0, nullptr, RecordResize};
    window_.hooks = &hooks;
    SendMessageA(window_.hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(123, 45));
    EXPECT_EQ(resized[0], 1);
    EXPECT_EQ(resized[1], 123);
    EXPECT_EQ(resized[2], 45);
    window_.hooks = nullptr;
}

HDC erasedDc;
HDC eventDcDuringErase;
int32_t EraseHandler() {
    if (EventMessage == EVENT_ERASE) {
        erasedDc = reinterpret_cast<HDC>(EventWParam);
        eventDcDuringErase = EventWindow->eventDc;
        // Drawing state changes made here are undone afterwards.
        SetTextColor(erasedDc, RGB(1, 2, 3));
    }
    return 0;
}

TEST_F(WindowProcTest, EraseFillsWithTheWindowColourThenRaisesTheEvent) {
    window_.handler = EraseHandler;
    window_.windowColor = RGB(10, 200, 30);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 20);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    const RECT all{0, 0, 20, 20};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetTextColor(dc, RGB(9, 9, 9));

    EXPECT_EQ(SendMessageA(window_.hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(10, 200, 30));
    EXPECT_EQ(erasedDc, dc);
    EXPECT_EQ(eventDcDuringErase, dc);
    EXPECT_EQ(window_.eventDc, nullptr);
    EXPECT_EQ(GetTextColor(dc), RGB(9, 9, 9));

    // noErase: nothing filled, no event.
    erasedDc = nullptr;
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    window_.noErase = 1;
    EXPECT_EQ(SendMessageA(window_.hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 0, 0));
    EXPECT_EQ(erasedDc, nullptr);
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

// Fills the window's backing bitmap with a colour, as user drawing would.
void FillBackBitmap(const WindowRecord& record, COLORREF colour) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, record.backBitmap);
    FillSolid(memory, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), colour);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

TEST_F(WindowProcTest, PaintCopiesExactlyTheUpdateRectangleAndSparesChildren) {
    const COLORREF bitmapColour = RGB(200, 40, 40);
    const COLORREF screenColour = RGB(30, 30, 200);
    UpdateWindow(window_.hwnd);
    // What is on screen now, and something else in the bitmap.
    HDC dc = GetDC(window_.hwnd);
    FillSolid(dc, 0, 0, 400, 300, screenColour);
    ReleaseDC(window_.hwnd, dc);
    FillBackBitmap(window_, bitmapColour);
    const RECT update{10, 20, 60, 50};
    InvalidateRect(window_.hwnd, &update, FALSE);
    UpdateWindow(window_.hwnd);
    HDC windowDc = GetDC(window_.hwnd);
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 90; ++x) {
            const bool inside = x >= update.left && x < update.right && y >= update.top && y < update.bottom;
            ASSERT_EQ(GetPixel(windowDc, x, y), inside ? bitmapColour : screenColour) << x << "," << y;
        }
    }
    ReleaseDC(window_.hwnd, windowDc);
    EXPECT_SEQUENCE(LoggedMessagesAmong({WM_PAINT}), {});  // a backed window raises no paint event

    // A visible child inside the update rectangle keeps its own pixels when
    // only its parent repaints: on a top-level window, whose style clips its
    // children, and on a child window, whose style does not.
    WindowRecord inner{};
    ASSERT_EQ(WindowCreate(&inner, 150, 100, 120, 90, WINOPT_NOCAPTION, &window_, "inner", nullptr), 1);
    FillBackBitmap(inner, bitmapColour);
    const COLORREF labelColour = RGB(250, 250, 0);
    for (WindowRecord* parent : {&window_, &inner}) {
        ControlAdd(parent, CONTROL_LABEL, "", 20, 20, 40, 30, 0, 5);
        HWND label = GetDlgItem(parent->hwnd, 5);
        ASSERT_NE(label, nullptr);
        SetPropA(label, RT_PROP_BACK_COLOUR, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(labelColour)));
        DeleteObject(RemovePropA(label, RT_PROP_BACK_BRUSH));
        SetPropA(label, RT_PROP_BACK_BRUSH, CreateSolidBrush(labelColour));
        SavePng(CaptureClient(parent->hwnd),
                parent == &inner ? "window_paint_with_child_inner" : "window_paint_with_child");
        RedrawWindow(parent->hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
        HDC shown = GetDC(parent->hwnd);
        EXPECT_EQ(DescribeColour(GetPixel(shown, 40, 35)), DescribeColour(labelColour)) << parent->hwnd;
        EXPECT_EQ(DescribeColour(GetPixel(shown, 100, 70)), DescribeColour(bitmapColour)) << parent->hwnd;
        ReleaseDC(parent->hwnd, shown);
    }
    DestroyWindow(inner.hwnd);

    // With the program's drawing DC open on the bitmap, a whole repaint with
    // erasing still shows the bitmap's picture.
    HDC drawing = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(drawing, window_.backBitmap);
    window_.drawDc = drawing;
    RedrawWindow(window_.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const Pixels again = CaptureClient(window_.hwnd);
    EXPECT_EQ(DescribeColour(again.At(100, 100)), DescribeColour(bitmapColour));
    EXPECT_EQ(DescribeColour(again.At(250, 150)), DescribeColour(bitmapColour));
    window_.drawDc = nullptr;
    SelectObject(drawing, previous);
    DeleteDC(drawing);
}

TEST(WindowProcPaint, WindowWithoutBitmapRaisesThePaintEvent) {
    WindowRecord record{};
    ASSERT_EQ(WindowCreate(&record, 0, 0, 100, 100, WINOPT_NOBITMAP, nullptr, "nb", LoggingHandler), 1);
    UpdateWindow(record.hwnd);
    LoggedEvents.clear();
    InvalidateRect(record.hwnd, nullptr, FALSE);
    UpdateWindow(record.hwnd);
    EXPECT_SEQUENCE(LoggedMessagesAmong({WM_PAINT}), {{{WM_PAINT}}});
    DestroyWindow(record.hwnd);
}

TEST_F(WindowProcTest, LeftClickFocusesAndActivatesBeforeTheHandler) {
    static bool focusedFirst;
    static bool activeFirst;
    window_.handler = [] {
        if (EventMessage == WM_LBUTTONDOWN) {
            focusedFirst = GetFocus() == EventWindow->hwnd;
            activeFirst = GetActiveWindow() == EventWindow->hwnd;
        }
        return 0;
    };
    WindowRecord other{};
    ASSERT_EQ(WindowCreate(&other, 500, 100, 100, 100, 0, nullptr, "other", nullptr), 1);
    SetActiveWindow(other.hwnd);
    ASSERT_NE(GetActiveWindow(), window_.hwnd);
    SendMessageA(window_.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_TRUE(focusedFirst);
    EXPECT_TRUE(activeFirst);
    DestroyWindow(other.hwnd);
}

TEST_F(WindowProcTest, ColourRequestsAreReflectedDialogColourIsNot) {
    ControlAdd(&window_, CONTROL_EDIT, "", 10, 10, 100, 20, 0, 3);
    HWND edit = GetDlgItem(window_.hwnd, 3);
    HDC dc = GetDC(edit);
    EXPECT_EQ(SendMessageA(window_.hwnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit)),
              reinterpret_cast<LRESULT>(GetPropA(edit, RT_PROP_BACK_BRUSH)));
    // WM_CTLCOLORDLG gets the default answer, and the edit box is not asked.
    SetPropA(edit, RT_PROP_TEXT_COLOUR, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(RGB(1, 2, 3))));
    SetTextColor(dc, RGB(200, 0, 0));
    const LRESULT answer = SendMessageA(window_.hwnd, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                                        reinterpret_cast<LPARAM>(edit));
    EXPECT_NE(GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(answer, DefWindowProcA(window_.hwnd, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(edit)));
    ReleaseDC(edit, dc);
}

// Labels, check boxes, radio buttons and group boxes without colours of their
// own show their parent around their text and, for a group box, inside it: a
// runtime window's colour (a top-level one clips its children; a child window
// is painted as an MDI child is), a dialog's face.
TEST_F(WindowProcTest, PlainLabelsChecksRadiosAndGroupsShowTheirParentsBackground) {
    constexpr COLORREF kCream = RGB(250, 240, 200);
    static WindowRecord child;   // listed: they live as long as the list
    static WindowRecord dialog;
    child = WindowRecord{};
    dialog = WindowRecord{};
    ASSERT_EQ(WindowCreate(&child, 150, 0, 140, 180, WINOPT_NOCAPTION, &window_, "c", LoggingHandler), 1);
    for (WindowRecord* window : {&window_, &child}) {
        window->windowColor = kCream;
        FillBackBitmap(*window, kCream);
    }
    DialogCreate(&dialog, 0, 0, 300, 200, WS_CAPTION | WS_VISIBLE, nullptr, "d", LoggingHandler);
    const ControlType types[] = {CONTROL_LABEL, CONTROL_CHECK_BOX, CONTROL_RADIO_BUTTON, CONTROL_GROUP_BOX};
    for (int i = 0; i < 4; ++i) {
        for (WindowRecord* parent : {&window_, &child, &dialog}) {
            ControlAdd(parent, types[i], "Text", 10, 10 + 40 * i, 120, 30, WS_VISIBLE, 20 + i);
        }
    }
    ASSERT_NE(DialogShow(&dialog, nullptr), nullptr);
    // Each parent drawn whole, as when it is uncovered.
    const Pixels onWindow = CaptureClient(window_.hwnd);
    const Pixels onChild = CaptureClient(child.hwnd);
    const Pixels onDialog = CaptureClient(dialog.hwnd);
    SavePng(onWindow, "parent_background_window");
    const auto area = [](const WindowRecord& parent, int id) {
        RECT r;
        GetWindowRect(GetDlgItem(parent.hwnd, id), &r);
        MapWindowPoints(nullptr, parent.hwnd, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(types[i]);
        EXPECT_GT(onWindow.Count(kCream, area(window_, 20 + i)), 120 * 30 / 2);
        EXPECT_GT(onChild.Count(kCream, area(child, 20 + i)), 120 * 30 / 2);
        EXPECT_GT(onDialog.Count(GetSysColor(COLOR_BTNFACE), area(dialog, 20 + i)), 120 * 30 / 2);
    }
    DestroyWindow(dialog.hwnd);
}

// Painting and erasing are for the runtime's own windows: any other window
// passed in is left as it was.
TEST_F(WindowProcTest, ForeignWindowsAreNeitherPaintedNorErasedAsRecords) {
    ControlAdd(&window_, CONTROL_EDIT, "edit", 10, 10, 100, 20, 0, 3);
    HWND foreign[] = {GetDlgItem(window_.hwnd, 3),
                      CreateWindowExA(0, "BUTTON", "b", WS_CHILD | WS_VISIBLE, 10, 40, 60, 20, window_.hwnd, nullptr,
                                      nullptr, nullptr),
                      CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE, 10, 70, 60, 40, window_.hwnd, nullptr,
                                      nullptr, nullptr)};
    for (HWND window : foreign) {
        SCOPED_TRACE(GetDlgCtrlID(window));
        ASSERT_NE(window, nullptr);
        UpdateWindow(window);
        InvalidateRect(window, nullptr, FALSE);
        EXPECT_EQ(WindowPaint(window, 0, 0), 1);
        RECT update;
        EXPECT_TRUE(GetUpdateRect(window, &update, FALSE)) << "validated by someone else's paint";
        HDC dc = GetDC(window);
        EXPECT_EQ(WindowEraseBackground(window, reinterpret_cast<WPARAM>(dc), 0), 1);
        ReleaseDC(window, dc);
    }
}

TEST_F(WindowProcTest, CursorOverTheClientAreaIsTheRecordsCursor) {
    HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
    window_.cursor = cross;
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    SendMessageA(window_.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(window_.hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), cross);
}

class FrameTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(WindowCreate(&frame_, 0, 0, 640, 480, WINOPT_FRAME, nullptr, "frame", nullptr), 1);
        for (auto& child : children_) {
            child = std::make_unique<WindowRecord>();
            ASSERT_EQ(WindowCreate(child.get(), 0, 0, 200, 150, 0, &frame_, "child", nullptr), 1);
        }
    }
    void TearDown() override { DestroyWindow(frame_.hwnd); }
    static RECT RectOf(HWND window) {
        RECT r;
        GetWindowRect(window, &r);
        return r;
    }
    WindowRecord frame_{};
    std::unique_ptr<WindowRecord> children_[3];
};

TEST_F(FrameTest, WindowMenuCommandsCascadeTileAndArrange) {
    // The client's scroll bars come and go with the children's places, so
    // its size is read after each command.
    RECT client;
    SendMessageA(frame_.hwnd, WM_COMMAND, IDM_TILE, 0);
    GetClientRect(frame_.mdiClient, &client);
    for (auto& child : children_) {
        const RECT r = RectOf(child->hwnd);
        EXPECT_EQ(r.right - r.left, client.right) << "tiled full width";
    }
    SendMessageA(frame_.hwnd, WM_COMMAND, IDM_CASCADE, 0);
    const RECT a = RectOf(children_[0]->hwnd);
    const RECT b = RectOf(children_[1]->hwnd);
    EXPECT_NE(a.left, b.left);
    EXPECT_NE(a.top, b.top);
    for (auto& child : children_) ShowWindow(child->hwnd, SW_MINIMIZE);
    for (auto& child : children_) SetWindowPos(child->hwnd, nullptr, 50, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageA(frame_.hwnd, WM_COMMAND, IDM_ARRANGE, 0);
    GetClientRect(frame_.mdiClient, &client);
    RECT clientOnScreen = client;
    MapWindowPoints(frame_.mdiClient, nullptr, reinterpret_cast<POINT*>(&clientOnScreen), 2);
    for (auto& child : children_) EXPECT_EQ(RectOf(child->hwnd).bottom, clientOnScreen.bottom);
}

// Keys typed in a control of an MDI child: the accelerators of the windows
// above it, nearest first, and the MDI keys; each key handled once.
TEST_F(FrameTest, KeysInAChildsControlReachTheTablesAboveAndTheMdiKeys) {
    WindowRecord& child = *children_[0];
    frame_.handler = LoggingHandler;
    child.handler = LoggingHandler;
    ACCEL frameKeys[] = {{FVIRTKEY, VK_F5, 1234}, {FVIRTKEY, VK_F6, 1235}};
    ACCEL childKey{FVIRTKEY, VK_F6, 4321};
    HACCEL frameTable = CreateAcceleratorTableA(frameKeys, 2);
    HACCEL childTable = CreateAcceleratorTableA(&childKey, 1);
    SetPropA(frame_.hwnd, RT_PROP_ACCELERATORS, frameTable);
    SetPropA(child.hwnd, RT_PROP_ACCELERATORS, childTable);
    ControlAdd(&child, CONTROL_EDIT, "", 0, 0, 100, 20, 0, 7);
    HWND note = GetDlgItem(child.hwnd, 7);
    DrainMessages();
    // (A frame's menu event names its topmost MDI child as the window.)
    struct Row {
        WPARAM key;
        const WindowRecord* record;
        int32_t menuId;
    };
    const Row rows[] = {{VK_F5, nullptr, 1234}, {VK_F6, &child, 4321}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.menuId);
        LoggedEvents.clear();
        PostMessageA(note, WM_KEYDOWN, row.key, 0x003F0001);
        WaitEvents(1);
        EXPECT_SEQUENCE(LoggedMessagesAmong({EVENT_MENU}), {{{EVENT_MENU}}});
        for (const EventSnapshot& event : LoggedEvents) {
            if (event.message != EVENT_MENU) continue;
            if (row.record) {
                EXPECT_EQ(event.window, row.record);
            }
            EXPECT_EQ(event.menuId, row.menuId);
        }
    }

    // Ctrl+F6 moves to the next child, Ctrl+F4 closes the active one.
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageA(frame_.mdiClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child.hwnd), 0);
    PostMessageA(note, WM_KEYDOWN, VK_F6, 0x00400001);
    WaitEvents(1);
    EXPECT_NE(reinterpret_cast<HWND>(SendMessageA(frame_.mdiClient, WM_MDIGETACTIVE, 0, 0)), child.hwnd);
    SendMessageA(frame_.mdiClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child.hwnd), 0);
    LoggedEvents.clear();
    PostMessageA(note, WM_KEYDOWN, VK_F4, 0x003E0001);
    WaitEvents(1);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_SEQUENCE(LoggedMessagesAmong({EVENT_CLOSE, EVENT_MENU}), {{{EVENT_CLOSE}}});
    RemovePropA(frame_.hwnd, RT_PROP_ACCELERATORS);
    RemovePropA(child.hwnd, RT_PROP_ACCELERATORS);
    DestroyAcceleratorTable(frameTable);
    DestroyAcceleratorTable(childTable);
}

TEST_F(FrameTest, SizingKeepsTheClientBetweenTheBars) {
    // Without bars the frame's default procedure stretches the client.
    SetWindowPos(frame_.hwnd, nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
    RECT frameClient;
    GetClientRect(frame_.hwnd, &frameClient);
    RECT r = RectOf(frame_.mdiClient);
    EXPECT_EQ(r.right - r.left, frameClient.right);
    EXPECT_EQ(r.bottom - r.top, frameClient.bottom);

    InitCommonControls();
    ControlAddByClass(&frame_, TOOLBARCLASSNAMEA, "", 0, 0, 700, 30, CCS_TOP | CCS_NORESIZE | CCS_NOPARENTALIGN, 0,
                      50);
    SetWindowPos(frame_.hwnd, nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(frame_.hwnd, &frameClient);
    r = RectOf(frame_.mdiClient);
    MapWindowPoints(nullptr, frame_.hwnd, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.bottom, frameClient.bottom);
}

}  // namespace
