// The gallery, started as a program and used through its menus, keyboard and
// mouse; screenshots of the frame, the controls and the hot button are saved.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "desktop_driver.h"
#include "pixels.h"

#ifndef RT_GALLERY
#define RT_GALLERY "gallery.exe"
#endif

namespace {

// Captures the rectangle until the condition holds on it or three seconds
// have passed: the program repaints at its own pace.
template <typename Condition>
Pixels CaptureWhen(const RECT& area, Condition condition) {
    const DWORD start = GetTickCount();
    Pixels pixels = CaptureScreen(area);
    while (!condition(pixels) && GetTickCount() - start < 3000) {
        Sleep(50);
        pixels = CaptureScreen(area);
    }
    return pixels;
}

class GalleryApp : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(program_.Started());
        frame_ = WaitForWindow(nullptr, "Corvantis Gallery");
        ASSERT_NE(frame_, nullptr);
        client_ = FindWindowExA(frame_, nullptr, "MDIClient", nullptr);
        ASSERT_NE(client_, nullptr);
        Sleep(300);
    }
    HWND Child(const char* title) const { return FindWindowExA(client_, nullptr, nullptr, title); }
    void ClickCaption(HWND window) {
        const RECT r = WindowRect(window);
        ClickAt(r.left + 120, r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2);
    }
    StartedProgram program_{RT_GALLERY};
    HWND frame_ = nullptr;
    HWND client_ = nullptr;
};

TEST_F(GalleryApp, ShowsEveryPartAndAnswersMenusMouseAndKeyboard) {
    SavePng(CaptureScreen(WindowRect(frame_)), "gallery_frame");
    HWND controls = Child("Controls");
    HWND buttons = Child("Buttons");
    HWND canvas = Child("Canvas");
    ASSERT_NE(controls, nullptr);
    ASSERT_NE(buttons, nullptr);
    ASSERT_NE(canvas, nullptr);
    SavePng(CaptureScreen(WindowRect(controls)), "gallery_controls");
    // Every control type of the table lives in the controls child.
    for (const char* className : {"Button", "Edit", "ListBox", "ComboBox", "Static", "ScrollBar", "RichEdit",
                                  "SysListView32", "msctls_statusbar32", "SysTreeView32"}) {
        EXPECT_FALSE(ChildrenOfClass(controls, className).empty()) << className;
    }

    // The hot button changes its face while the pointer is over it.
    HWND hot = FindWindowExA(buttons, nullptr, "Button", "Hover me");
    ASSERT_NE(hot, nullptr);
    const RECT r = WindowRect(hot);
    const int x = 20;
    const int y = (r.bottom - r.top) / 2;
    auto isBlue = [&](const Pixels& p) { return GetRValue(p.At(x, y)) < 120; };
    auto isAmber = [&](const Pixels& p) { return GetRValue(p.At(x, y)) > 200; };
    SetCursorPos(r.left - 40, r.bottom + 60);
    const Pixels cold = CaptureWhen(r, isBlue);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    const Pixels hotFace = CaptureWhen(r, isAmber);
    SetCursorPos(r.left - 40, r.bottom + 60);
    const Pixels coldAgain = CaptureWhen(r, isBlue);
    SavePng(cold, "gallery_hot_button_not_hot");
    SavePng(hotFace, "gallery_hot_button_hot");
    EXPECT_LT(GetRValue(cold.At(x, y)), 120) << "blue face";
    EXPECT_GT(GetRValue(hotFace.At(x, y)), 200) << "amber face";
    EXPECT_EQ(coldAgain.At(x, y), cold.At(x, y));

    // The modal dialog from the Gallery menu, ended with Enter.
    ClickCaption(frame_);
    SendInputAltLetter('G');
    PressKey('A');
    HWND about = WaitForWindow(nullptr, "About the Gallery");
    ASSERT_NE(about, nullptr) << "About dialog did not open";
    SavePng(CaptureScreen(WindowRect(about)), "gallery_about_dialog");
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitForWindowGone(about));

    // Window menu: Tile lays the children full width.
    SendInputAltLetter('W');
    PressKey('T');
    Sleep(300);
    RECT clientRect;
    GetClientRect(client_, &clientRect);
    for (HWND child : {controls, buttons, canvas}) {
        const RECT c = WindowRect(child);
        EXPECT_EQ(c.right - c.left, clientRect.right) << WindowText(child);
    }
    SavePng(CaptureScreen(WindowRect(frame_)), "gallery_tiled");

    // Alt+F4 closes the frame and ends the program.
    PressAltF4();
    EXPECT_EQ(program_.ExitCode(), 0u);
}

}  // namespace
