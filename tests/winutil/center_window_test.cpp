// Centring windows over parents, owners and the work area.
#include <gtest/gtest.h>

#include "rt_winutil_internal.h"

namespace {

RECT WorkArea() {
    RECT r;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

HWND Popup(int x, int y, int width, int height, HWND owner = nullptr, DWORD extra = WS_VISIBLE) {
    return CreateWindowExA(0, "STATIC", "", WS_POPUP | extra, x, y, width, height, owner, nullptr, nullptr, nullptr);
}

RECT RectOf(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return r;
}

TEST(CenterWindow, TopLevelWithoutOwnerGoesToTheMiddleOfTheWorkArea) {
    const RECT work = WorkArea();
    WindowRecord record{};
    record.hwnd = Popup(0, 30, 336, 150);
    CenterWindow(&record);
    const RECT r = RectOf(record.hwnd);
    EXPECT_EQ(r.left, (work.left + work.right) / 2 - 336 / 2);
    EXPECT_EQ(r.top, (work.top + work.bottom) / 2 - 150 / 2);
    EXPECT_EQ(r.right - r.left, 336) << "size unchanged";
    DestroyWindow(record.hwnd);

    WindowRecord none{};
    EXPECT_EQ(CenterWindow(&none), 0);
    EXPECT_EQ(CenterWindow(nullptr), 0);
}

TEST(CenterWindow, VisibleOwnerIsTheReferenceHiddenOrMinimisedIsNot) {
    const RECT work = WorkArea();
    const int middleX = (work.left + work.right) / 2 - 50;
    const int middleY = (work.top + work.bottom) / 2 - 20;
    struct Row {
        DWORD ownerStyle;
        bool minimise;
        int x, y;
    };
    const Row rows[] = {
        {WS_VISIBLE, false, 100 + (300 - 100) / 2, 100 + (200 - 40) / 2},
        {0, false, middleX, middleY},
        {WS_VISIBLE, true, middleX, middleY},
    };
    for (const Row& row : rows) {
        HWND owner = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW | row.ownerStyle, 100, 100, 300, 200,
                                     nullptr, nullptr, nullptr, nullptr);
        if (row.minimise) ShowWindow(owner, SW_MINIMIZE);
        WindowRecord record{};
        record.hwnd = Popup(0, 0, 100, 40, owner);
        CenterWindow(&record);
        const RECT r = RectOf(record.hwnd);
        EXPECT_EQ(r.left, row.x) << row.ownerStyle << " " << row.minimise;
        EXPECT_EQ(r.top, row.y) << row.ownerStyle << " " << row.minimise;
        DestroyWindow(record.hwnd);
        DestroyWindow(owner);
    }
}

TEST(CenterWindow, KeptInsideTheWorkArea) {
    const RECT work = WorkArea();
    HWND owner = Popup(work.right - 60, 100, 200, 200);
    WindowRecord record{};
    record.hwnd = Popup(0, 0, 300, 100, owner);
    CenterWindow(&record);
    EXPECT_EQ(RectOf(record.hwnd).right, work.right);
    DestroyWindow(record.hwnd);

    // Wider and taller than the work area: left and top edges on the bounds.
    record.hwnd = Popup(0, 0, work.right - work.left + 200, work.bottom - work.top + 100);
    CenterWindow(&record);
    EXPECT_EQ(RectOf(record.hwnd).left, work.left);
    EXPECT_EQ(RectOf(record.hwnd).top, work.top);
    DestroyWindow(record.hwnd);
    DestroyWindow(owner);
}

TEST(CenterWindow, ChildIsCentredInItsParentsClientArea) {
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 60, 400, 300, nullptr,
                                  nullptr, nullptr, nullptr);
    RECT client;
    GetClientRect(parent, &client);
    WindowRecord record{};
    record.hwnd = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 101, 51, parent, nullptr, nullptr,
                                  nullptr);
    CenterWindow(&record);
    RECT r = RectOf(record.hwnd);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, client.right / 2 - 50);
    EXPECT_EQ(r.top, client.bottom / 2 - 25);

    // Larger than the client area: clamped to its left and top.
    SetWindowPos(record.hwnd, nullptr, 0, 0, client.right + 40, client.bottom + 40, SWP_NOMOVE | SWP_NOZORDER);
    CenterWindow(&record);
    r = RectOf(record.hwnd);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    DestroyWindow(parent);
}

}  // namespace
