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

// Captures the rectangle until the condition holds on it or the limit passed.
template <typename Condition>
Pixels CaptureWhen(const RECT& area, Condition condition) {
    Pixels pixels = CaptureScreen(area);
    WaitUntil([&] {
        pixels = CaptureScreen(area);
        return condition(pixels);
    });
    return pixels;
}

RECT ClientRectOnScreen(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class GalleryApp : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(program_.Started());
        frame_ = WaitForWindow(nullptr, "Corvantis Gallery");
        ASSERT_NE(frame_, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return (client_ = FindWindowExA(frame_, nullptr, "MDIClient", nullptr)); }));
        // The children and their contents appear after the frame.
        ASSERT_TRUE(WaitUntil([&] {
            HWND canvas = Child("Canvas");
            return Child("Controls") && Child("Buttons") && canvas && IsWindowVisible(canvas) &&
                   FindWindowExA(frame_, nullptr, "msctls_statusbar32", nullptr);
        })) << "the gallery's windows did not all appear";
    }
    HWND Bar(const char* className) const { return FindWindowExA(frame_, nullptr, className, nullptr); }
    // Toolbar across the top, status bar across the bottom, the MDI client
    // exactly between them.
    bool BarsFitTheFrame() const {
        const RECT client = ClientRectOnScreen(frame_);
        const RECT toolbar = WindowRect(Bar("ToolbarWindow32"));
        const RECT status = WindowRect(Bar("msctls_statusbar32"));
        const RECT mdi = WindowRect(client_);
        return toolbar.left == client.left && toolbar.right == client.right && toolbar.top == client.top &&
               status.left == client.left && status.right == client.right && status.bottom == client.bottom &&
               mdi.top == toolbar.bottom && mdi.bottom == status.top && mdi.left == client.left &&
               mdi.right == client.right;
    }
    std::string DescribeBars() const {
        const RECT rects[] = {ClientRectOnScreen(frame_), WindowRect(Bar("ToolbarWindow32")),
                              WindowRect(Bar("msctls_statusbar32")), WindowRect(client_)};
        const char* const names[] = {"frame client", "toolbar", "status bar", "MDI client"};
        std::string text;
        for (int i = 0; i < 4; ++i) {
            text += std::string(names[i]) + " (" + std::to_string(rects[i].left) + "," +
                    std::to_string(rects[i].top) + ")-(" + std::to_string(rects[i].right) + "," +
                    std::to_string(rects[i].bottom) + ") ";
        }
        return text;
    }
    HWND Child(const char* title) const { return FindWindowExA(client_, nullptr, nullptr, title); }
    void ClickCaption(HWND window) {
        const RECT r = WindowRect(window);
        ClickAt(r.left + 120, r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2);
    }
    // Keys go to the foreground window: under emulation the frame becomes it
    // again seconds after a dialog closes, and keys sent before then are lost.
    bool ActivateFrame() {
        ClickCaption(frame_);
        return WaitUntil([this] { return GetForegroundWindow() == frame_; });
    }
    StartedProgram program_{RT_GALLERY};
    HWND frame_ = nullptr;
    HWND client_ = nullptr;
};

TEST_F(GalleryApp, ShowsEveryPartAndAnswersMenusMouseAndKeyboard) {
    EXPECT_TRUE(program_.WaitIdle());
    SavePng(CaptureScreen(WindowRect(frame_)), "gallery_frame");
    HWND controls = Child("Controls");
    HWND buttons = Child("Buttons");
    HWND canvas = Child("Canvas");
    ASSERT_NE(controls, nullptr);
    ASSERT_NE(buttons, nullptr);
    ASSERT_NE(canvas, nullptr);
    EXPECT_TRUE(program_.WaitIdle());
    SavePng(CaptureScreen(WindowRect(controls)), "gallery_controls");
    // Every control type of the table lives in the controls child, but the
    // status bar, which is the frame's.
    for (const char* className : {"Button", "Edit", "ListBox", "ComboBox", "Static", "ScrollBar", "RichEdit",
                                  "SysListView32", "SysTreeView32"}) {
        EXPECT_FALSE(ChildrenOfClass(controls, className).empty()) << className;
    }
    EXPECT_TRUE(ChildrenOfClass(controls, "msctls_statusbar32").empty());
    EXPECT_TRUE(BarsFitTheFrame()) << DescribeBars();

    // The hot button changes its face while the pointer is over it.
    HWND hot = FindWindowExA(buttons, nullptr, "Button", "Hover me");
    ASSERT_NE(hot, nullptr);
    const RECT r = WindowRect(hot);
    const int x = 20;
    const int y = (r.bottom - r.top) / 2;
    auto isBlue = [&](const Pixels& p) { return GetBValue(p.At(x, y)) > GetRValue(p.At(x, y)) + 60; };
    auto isAmber = [&](const Pixels& p) { return GetRValue(p.At(x, y)) > GetBValue(p.At(x, y)) + 120; };
    SetCursorPos(r.left - 40, r.bottom + 60);
    const Pixels cold = CaptureWhen(r, isBlue);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    const Pixels hotFace = CaptureWhen(r, isAmber);
    SetCursorPos(r.left - 40, r.bottom + 60);
    const Pixels coldAgain = CaptureWhen(r, isBlue);
    SavePng(cold, "gallery_hot_button_not_hot");
    SavePng(hotFace, "gallery_hot_button_hot");
    EXPECT_TRUE(isBlue(cold)) << "blue face";
    EXPECT_TRUE(isAmber(hotFace)) << "amber face";
    EXPECT_EQ(coldAgain.At(x, y), cold.At(x, y));

    // The modal dialog from the Gallery menu, ended with Enter.
    ASSERT_TRUE(ActivateFrame());
    SendInputAltLetter('G');
    PressKey('A');
    HWND about = WaitForWindow(nullptr, "About the Gallery");
    ASSERT_NE(about, nullptr) << "About dialog did not open";
    EXPECT_TRUE(program_.WaitIdle());
    SavePng(CaptureScreen(WindowRect(about)), "gallery_about_dialog");
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitForWindowGone(about));

    // Window menu: Tile lays the children full width.
    ASSERT_TRUE(ActivateFrame());
    SendInputAltLetter('W');
    PressKey('T');
    auto tiled = [&] {
        RECT clientRect;
        GetClientRect(client_, &clientRect);
        for (HWND child : {controls, buttons, canvas}) {
            const RECT c = WindowRect(child);
            if (c.right - c.left != clientRect.right) return false;
        }
        return true;
    };
    EXPECT_TRUE(WaitUntil(tiled)) << "children tiled full width";
    EXPECT_TRUE(program_.WaitIdle());
    SavePng(CaptureScreen(WindowRect(frame_)), "gallery_tiled");

    // Resizing the frame, larger and smaller: the bars follow its width and
    // the MDI client stays between them.
    const RECT original = WindowRect(frame_);
    const struct {
        int width, height;
        const char* picture;
    } sizes[] = {{1010, 740, "gallery_resized_larger"}, {640, 420, "gallery_resized_smaller"}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(size.picture);
        SetWindowPos(frame_, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_TRUE(WaitUntil([&] { return BarsFitTheFrame(); })) << DescribeBars();
        EXPECT_EQ(WindowRect(frame_).right - WindowRect(frame_).left, size.width);
        EXPECT_TRUE(program_.WaitIdle());
        SavePng(CaptureScreen(WindowRect(frame_)), size.picture);
    }
    SetWindowPos(frame_, nullptr, 0, 0, original.right - original.left, original.bottom - original.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(WaitUntil([&] { return BarsFitTheFrame(); })) << DescribeBars();

    // A child's close box closes that child, and only it.
    POINT close;
    SendMessageA(client_, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(canvas), 0);
    ASSERT_TRUE(CloseBoxPoint(canvas, &close));
    ClickAt(close.x, close.y);
    EXPECT_TRUE(WaitForWindowGone(canvas)) << "the canvas stays open";
    EXPECT_TRUE(IsWindow(controls));
    EXPECT_TRUE(IsWindow(buttons));
    EXPECT_TRUE(program_.WaitIdle());
    SavePng(CaptureScreen(WindowRect(frame_)), "gallery_child_closed");

    // Alt+F4 closes the frame and ends the program.
    PressAltF4();
    EXPECT_EQ(program_.ExitCode(), 0u);
}

}  // namespace
