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

Pixels CaptureScreenRect(const RECT& r) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, previous);
    Pixels pixels = CaptureBitmap(bitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

class GalleryApp : public testing::Test {
protected:
    void SetUp() override {
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        std::string commandLine = std::string("\"") + RT_GALLERY + "\"";
        ASSERT_TRUE(CreateProcessA(RT_GALLERY, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &startup, &process_));
        frame_ = WaitForWindow(nullptr, "Corvantis Gallery");
        ASSERT_NE(frame_, nullptr);
        client_ = FindWindowExA(frame_, nullptr, "MDIClient", nullptr);
        ASSERT_NE(client_, nullptr);
        Sleep(300);
    }
    void TearDown() override {
        if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 99);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    HWND Child(const char* title) const { return FindWindowExA(client_, nullptr, nullptr, title); }
    void ClickCaption(HWND window) {
        const RECT r = WindowRect(window);
        ClickAt(r.left + 120, r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2);
    }
    PROCESS_INFORMATION process_{};
    HWND frame_ = nullptr;
    HWND client_ = nullptr;
};

TEST_F(GalleryApp, ShowsEveryPartAndAnswersMenusMouseAndKeyboard) {
    SavePng(CaptureScreenRect(WindowRect(frame_)), "gallery_frame");
    HWND controls = Child("Controls");
    HWND buttons = Child("Buttons");
    HWND canvas = Child("Canvas");
    ASSERT_NE(controls, nullptr);
    ASSERT_NE(buttons, nullptr);
    ASSERT_NE(canvas, nullptr);
    SavePng(CaptureScreenRect(WindowRect(controls)), "gallery_controls");
    // Every control type of the table lives in the controls child.
    for (const char* className : {"Button", "Edit", "ListBox", "ComboBox", "Static", "ScrollBar", "RichEdit",
                                  "SysListView32", "msctls_statusbar32", "SysTreeView32"}) {
        EXPECT_FALSE(ChildrenOfClass(controls, className).empty()) << className;
    }

    // The hot button changes its face while the pointer is over it.
    HWND hot = FindWindowExA(buttons, nullptr, "Button", "Hover me");
    ASSERT_NE(hot, nullptr);
    const RECT r = WindowRect(hot);
    SetCursorPos(r.left - 40, r.bottom + 60);
    Sleep(300);
    const Pixels cold = CaptureScreenRect(r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Sleep(400);
    const Pixels hotFace = CaptureScreenRect(r);
    SetCursorPos(r.left - 40, r.bottom + 60);
    Sleep(400);
    const Pixels coldAgain = CaptureScreenRect(r);
    SavePng(cold, "gallery_hot_button_not_hot");
    SavePng(hotFace, "gallery_hot_button_hot");
    const int x = 20;
    const int y = (r.bottom - r.top) / 2;
    EXPECT_LT(GetRValue(cold.At(x, y)), 120) << "blue face";
    EXPECT_GT(GetRValue(hotFace.At(x, y)), 200) << "amber face";
    EXPECT_EQ(coldAgain.At(x, y), cold.At(x, y));

    // The modal dialog from the Gallery menu, ended with Enter.
    ClickCaption(frame_);
    SendInputAltLetter('G');
    PressKey('A');
    HWND about = WaitForWindow(nullptr, "About the Gallery");
    ASSERT_NE(about, nullptr) << "About dialog did not open";
    SavePng(CaptureScreenRect(WindowRect(about)), "gallery_about_dialog");
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
    SavePng(CaptureScreenRect(WindowRect(frame_)), "gallery_tiled");

    // Alt+F4 closes the frame and ends the program.
    PressAltF4();
    ASSERT_EQ(WaitForSingleObject(process_.hProcess, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD code = 0xDEADBEEF;
    GetExitCodeProcess(process_.hProcess, &code);
    EXPECT_EQ(code, 0u);
}

}  // namespace
