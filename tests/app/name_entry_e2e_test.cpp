// The application, started as a program and used the way a person does:
// typing, clicking, closing. Screenshots of what it shows are saved.
#include <gtest/gtest.h>

#include <string>

#include "desktop_driver.h"
#include "pixels.h"
#include "test_support.h"

#ifndef RT_APPLICATION
#define RT_APPLICATION "name_entry.exe"
#endif

namespace {

// True when the icon control shows the system icon: what the screen shows
// of it against the icon drawn here (nine pixels in ten alike).
bool ShowsIcon(HWND control, LPCSTR icon) {
    RECT client;
    GetClientRect(control, &client);
    RECT onScreen = client;
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&onScreen), 2);
    const Pixels shown = CaptureScreen(onScreen);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    RECT all{0, 0, client.right, client.bottom};
    FillRect(memory, &all, GetSysColorBrush(COLOR_BTNFACE));
    DrawIcon(memory, 0, 0, LoadIconA(nullptr, icon));
    int same = 0;
    int differing = 0;
    for (int y = 0; y < client.bottom && y < shown.height; ++y) {
        for (int x = 0; x < client.right && x < shown.width; ++x) {
            (GetPixel(memory, x, y) == shown.At(x, y) ? same : differing) += 1;
        }
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return same >= 9 * (same + differing) / 10;
}

std::string Utf8(const std::wstring& text) {
    char bytes[1024];
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes,
                                      sizeof(bytes), nullptr, nullptr);
    return std::string(bytes, static_cast<size_t>(n > 0 ? n : 0));
}

class NameEntryApp : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(program_.Started());
        dialog_ = WaitForWindow(nullptr, "Enter Your Name");
        ASSERT_NE(dialog_, nullptr) << "the dialog did not appear";
        const auto edits = ChildrenOfClass(dialog_, "Edit");
        const auto buttons = ChildrenOfClass(dialog_, "Button");
        ASSERT_EQ(edits.size(), 1u);
        ASSERT_EQ(buttons.size(), 1u);
        edit_ = edits[0];
        button_ = buttons[0];
    }
    // Clicks "OK" and returns the greeting box, or null.
    HWND Greet() {
        ClickCentreOf(button_);
        return WaitForWindow("#32770", "Your Name");
    }
    void DismissBox(HWND box) {
        const auto ok = ChildrenOfClass(box, "Button");
        ASSERT_EQ(ok.size(), 1u);
        ClickCentreOf(ok[0]);
        ASSERT_TRUE(WaitForWindowGone(box));
    }
    std::string BoxText(HWND box) {
        for (HWND child : ChildrenOfClass(box, "Static")) {
            const std::string text = WindowText(child);
            if (!text.empty()) return text;
        }
        return "";
    }
    StartedProgram program_{RT_APPLICATION};
    HWND dialog_ = nullptr;
    HWND edit_ = nullptr;
    HWND button_ = nullptr;
};

TEST_F(NameEntryApp, GreetsTheTypedNameInABoxCentredOverTheDialog) {
    const RECT work = WorkArea();
    const RECT d = WindowRect(dialog_);
    // Centred in the work area, whatever the definition said.
    EXPECT_EQ(d.left, (work.left + work.right) / 2 - (d.right - d.left) / 2);
    EXPECT_EQ(d.top, (work.top + work.bottom) / 2 - (d.bottom - d.top) / 2);
    // The controls keep their styles: no tab stops were added.
    EXPECT_EQ(GetWindowLongA(edit_, GWL_STYLE) & WS_TABSTOP, 0);
    EXPECT_EQ(GetWindowLongA(button_, GWL_STYLE) & 0x0F, BS_OWNERDRAW);

    // The program's 96-DPI pixels at the DPI it runs at, exact at 96: the
    // client 330x120, the edit box at (14, 33), 250x20.
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    const int slack = dpi == 96 ? 0 : 1;
    RECT client;
    GetClientRect(dialog_, &client);
    EXPECT_NEAR(client.right, MulDiv(330, dpi, 96), slack);
    EXPECT_NEAR(client.bottom, MulDiv(120, dpi, 96), slack);
    RECT e = WindowRect(edit_);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&e), 2);
    const LONG wanted[] = {14, 33, 264, 53};
    const LONG got[] = {e.left, e.top, e.right, e.bottom};
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(got[i], MulDiv(wanted[i], dpi, 96), slack) << "edge " << i << " at " << dpi;
    const std::string suffix = dpi == 96 ? "" : "_" + std::to_string(dpi);

    ClickCentreOf(edit_);
    TypeText("Bob");
    // Typed keys are handled by the program at its own pace.
    EXPECT_TRUE(WaitUntil([&] { return WindowText(edit_) == "Bob"; })) << WindowText(edit_);
    EXPECT_TRUE(program_.WaitIdle());
    SavePng(CaptureScreen(d), "app_dialog" + suffix);

    HWND box = Greet();
    ASSERT_NE(box, nullptr) << "no greeting box";
    EXPECT_EQ(BoxText(box), "Your name is Bob.");
    const auto buttons = ChildrenOfClass(box, "Button");
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(WindowText(buttons[0]), "OK");
    // The exclamation icon, as the system draws it.
    HWND icon = nullptr;
    for (HWND child : ChildrenOfClass(box, "Static")) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) icon = child;
    }
    ASSERT_NE(icon, nullptr) << "no icon in the box";
    EXPECT_TRUE(ShowsIcon(icon, IDI_EXCLAMATION));
    EXPECT_FALSE(ShowsIcon(icon, IDI_HAND));
    const RECT b = WindowRect(box);
    EXPECT_NEAR((b.left + b.right) / 2, (d.left + d.right) / 2, 1);
    EXPECT_NEAR((b.top + b.bottom) / 2, (d.top + d.bottom) / 2, 1);
    EXPECT_EQ(GetWindow(box, GW_OWNER), dialog_);
    RECT both{std::min(b.left, d.left), std::min(b.top, d.top), std::max(b.right, d.right),
              std::max(b.bottom, d.bottom)};
    EXPECT_TRUE(program_.WaitIdle());
    SavePng(CaptureScreen(both), "app_greeting" + suffix);
    DismissBox(box);

    // The close box ends the program with exit code 0.
    POINT close;
    ASSERT_TRUE(CloseBoxPoint(dialog_, &close));
    ClickAt(close.x, close.y);
    EXPECT_EQ(program_.ExitCode(), 0u);
}

// The same, with this program and the application started at other DPIs.
TEST(NameEntryAtDpi, GreetsAndIsItsPixelsScaled) {
    if (StartedAtDpi()) return;
    for (int dpi : {120, 144, 192}) {
        std::string output;
        EXPECT_TRUE(PassesAtDpi(dpi, "NameEntryApp.GreetsTheTypedNameInABoxCentredOverTheDialog", &output))
            << dpi << " DPI:\n" << output;
    }
}

TEST_F(NameEntryApp, EmptyNameAndRepeatedGreetings) {
    HWND box = Greet();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(BoxText(box), "Your name is .");
    DismissBox(box);

    const char* const names[] = {"Ann", "Zoe Q", "Li"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        ClickCentreOf(edit_);
        PressKey(VK_END);
        PressKey(VK_BACK, 8);
        TypeText(name);
        box = Greet();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(BoxText(box), std::string("Your name is ") + name + ".");
        // Enter presses the box's button.
        PressKey(VK_RETURN);
        ASSERT_TRUE(WaitForWindowGone(box));
    }
    EXPECT_TRUE(program_.Running());
}

// Names in any language: typed where the keyboard has the keys, pasted where
// it has not, and greeted exactly (the program runs in the UTF-8 code page).
TEST_F(NameEntryApp, GreetsNamesInAnyLanguage) {
    struct Name {
        const char* typed;
        const wchar_t* pasted;
        const wchar_t* whole;
    };
    const Name names[] = {
        {"Zo", L"\u00EB \u00D8deg\u00E5rd", L"Zo\u00EB \u00D8deg\u00E5rd"},
        {"", L"\u03A9\u03BC\u03AD\u03B3\u03B1", L"\u03A9\u03BC\u03AD\u03B3\u03B1"},
        {"", L"\u041F\u0440\u0438\u0432\u0435\u0442", L"\u041F\u0440\u0438\u0432\u0435\u0442"},
    };
    int shown = 0;
    for (const Name& name : names) {
        SCOPED_TRACE(name.typed);
        ClickCentreOf(edit_);
        PressKey(VK_END);
        PressKey(VK_BACK, 12);
        TypeText(name.typed);
        // Keys arrive through the program's queue; the paste comes after them.
        ASSERT_TRUE(WaitUntil([&] { return WindowText(edit_) == name.typed; })) << WindowText(edit_);
        PasteText(edit_, name.pasted);
        EXPECT_TRUE(WaitUntil([&] { return WindowTextWide(edit_) == name.whole; }))
            << Utf8(WindowTextWide(edit_));
        HWND box = Greet();
        ASSERT_NE(box, nullptr);
        std::wstring text;
        for (HWND child : ChildrenOfClass(box, "Static")) {
            if (text.empty()) text = WindowTextWide(child);
        }
        EXPECT_EQ(Utf8(text), Utf8(std::wstring(L"Your name is ") + name.whole + L"."));
        const RECT b = WindowRect(box);
        EXPECT_TRUE(program_.WaitIdle());
        SavePng(CaptureScreen(b), ("app_greeting_language_" + std::to_string(++shown)).c_str());
        PressKey(VK_RETURN);
        ASSERT_TRUE(WaitForWindowGone(box));
    }
}

// The label notifies its clicks (SS_NOTIFY), and they do nothing: no box.
TEST_F(NameEntryApp, ClicksOnTheLabelDoNothing) {
    const auto labels = ChildrenOfClass(dialog_, "Static");
    ASSERT_EQ(labels.size(), 1u);
    ASSERT_NE(GetWindowLongA(labels[0], GWL_STYLE) & SS_NOTIFY, 0);
    ClickCentreOf(labels[0]);
    ClickCentreOf(labels[0]);  // a double click too
    // Input is handled in order: once the typed key is in, the clicks were.
    ClickCentreOf(edit_);
    TypeText("x");
    EXPECT_TRUE(WaitUntil([&] { return WindowText(edit_) == "x"; })) << WindowText(edit_);
    EXPECT_EQ(FindWindowA("#32770", "Your Name"), nullptr);
    EXPECT_TRUE(program_.Running());
}

TEST_F(NameEntryApp, AltF4EndsTheProgramWithExitCodeZero) {
    ClickCentreOf(edit_);
    PressAltF4();
    EXPECT_EQ(program_.ExitCode(), 0u);
}

// With no display to show on, no window can be made: the program must say so
// and end, not wait unseen for ever. It is started from a shell, as a user
// would, since the platform's own processes keep the display they were given;
// the shell leaves what it printed and its exit code in a file. A window of
// this test's keeps the desktop up meanwhile, on the display that works.
TEST(NameEntryWithoutWindow, EndsWithAMessageAndAFailureCode) {
    std::string program = RT_APPLICATION;
    if (program.compare(0, 2, "Z:") == 0) program.erase(0, 2);
    const std::string report = program + ".no-window.txt";
    const std::string reportPath = "Z:" + report;
    DeleteFileA(reportPath.c_str());
    HWND keeper = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    RunProgram("Z:\\bin\\sh",
               "-c \"DISPLAY=:977 ${WINELOADER:-wine} '" + program + "' >'" + report + "' 2>&1; echo exit $? >>'" +
                   report + "'\"",
               0);
    std::string shown;
    const bool ended = WaitUntil([&] {
        shown.clear();
        HANDLE file = CreateFileA(reportPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        char buffer[4096];
        DWORD got = 0;
        if (ReadFile(file, buffer, sizeof(buffer), &got, nullptr)) shown.assign(buffer, got);
        CloseHandle(file);
        return shown.find("exit ") != std::string::npos;
    });
    DeleteFileA(reportPath.c_str());
    DestroyWindow(keeper);
    ASSERT_TRUE(ended) << "still running unseen after 60 s: " << shown;
    EXPECT_NE(shown.find("the dialog could not be made"), std::string::npos) << shown;
    EXPECT_EQ(shown.find("exit 0"), std::string::npos) << shown;
}

}  // namespace
