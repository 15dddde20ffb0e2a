// The centred message box: the position written when its frame is created,
// where it finally stands, its icon and button, and nested boxes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pixels.h"
#include "rt_winutil_internal.h"

namespace {

RECT WorkArea() {
    RECT r;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

struct BoxView {
    bool found = false;
    RECT rect{};
    std::string text;
    std::vector<std::string> buttons;
    HICON icon = nullptr;
    bool hookInstalledInside = false;
};
BoxView view;
const char* expectedCaption;

BOOL CALLBACK CollectChild(HWND child, LPARAM) {
    char className[32];
    char text[128];
    GetClassNameA(child, className, sizeof(className));
    GetWindowTextA(child, text, sizeof(text));
    if (lstrcmpiA(className, "Button") == 0) view.buttons.push_back(text);
    if (lstrcmpiA(className, "Static") == 0) {
        if (auto icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0))) {
            view.icon = icon;
        } else if (text[0]) {
            view.text = text;
        }
    }
    return TRUE;
}

// Fires inside the box's modal loop: looks at the box, saves a picture of
// it, then presses its button.
void CALLBACK InspectBox(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowA("#32770", expectedCaption);
    if (!box || !IsWindowVisible(box)) return;
    KillTimer(nullptr, timer);
    view.found = true;
    GetWindowRect(box, &view.rect);
    EnumChildWindows(box, CollectChild, 0);
    view.hookInstalledInside = MessageBoxHook != nullptr;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

BoxView ShowAndInspect(const WindowRecord* owner, const char* text, const char* caption, UINT type) {
    view = BoxView{};
    expectedCaption = caption;
    SetTimer(nullptr, 0, 50, InspectBox);
    MessageBoxCentered(owner, text, caption, type);
    return view;
}

TEST(MessageBoxCentered, FinalPositionIsCentredOverTheOwner) {
    WindowRecord owner{};
    owner.hwnd = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 500, 300, nullptr, nullptr,
                                 nullptr, nullptr);
    const BoxView v = ShowAndInspect(&owner, "Your name is Bob.", "Centred", 0);
    ASSERT_TRUE(v.found);
    EXPECT_TRUE(v.hookInstalledInside);
    const int boxCentreX = (v.rect.left + v.rect.right) / 2;
    const int boxCentreY = (v.rect.top + v.rect.bottom) / 2;
    EXPECT_NEAR(boxCentreX, 350, 1);
    EXPECT_NEAR(boxCentreY, 250, 1);
    EXPECT_EQ(MessageBoxHook, nullptr) << "hook removed";
    DestroyWindow(owner.hwnd);

    // An owner whose window has gone is no owner: the box still shows.
    const BoxView unowned = ShowAndInspect(&owner, "still shown", "Dead owner", 0);
    EXPECT_TRUE(unowned.found);
}

TEST(MessageBoxCentered, TypeZeroShowsTheExclamationIconAndOneOkButton) {
    const BoxView v = ShowAndInspect(nullptr, "Your name is .", "Type zero", 0);
    ASSERT_TRUE(v.found);
    EXPECT_EQ(v.text, "Your name is .");
    EXPECT_EQ(v.buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(v.icon, LoadIconA(nullptr, IDI_EXCLAMATION));

    const BoxView info = ShowAndInspect(nullptr, "info", "Information", MB_OK | MB_ICONINFORMATION);
    ASSERT_TRUE(info.found);
    EXPECT_EQ(info.icon, LoadIconA(nullptr, IDI_INFORMATION));
    EXPECT_NE(info.icon, LoadIconA(nullptr, IDI_EXCLAMATION));
}

// Centred over the owner (or the screen), and kept on the work area.
TEST(MessageBoxCentered, BoxNearTheScreenEdgeStaysOnTheWorkArea) {
    const RECT work = WorkArea();
    struct Row {
        const char* name;
        bool owned;
        RECT owner;  // left, top, width, height
        int left, top, right, bottom;  // expected edges; -1: centred on that axis
    };
    const Row rows[] = {
        {"bottom right", true, {work.right - 80, work.bottom - 50, 200, 100}, -1, -1, work.right, work.bottom},
        {"top left", true, {-390, -180, 400, 200}, 0, 0, -1, -1},
        {"right only", true, {work.right - 100, 100, 400, 200}, -1, -1, work.right, -1},
        {"no owner", false, {}, -1, -1, -1, -1},
    };
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WindowRecord owner{};
        if (row.owned) {
            owner.hwnd = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, row.owner.left, row.owner.top,
                                         row.owner.right, row.owner.bottom, nullptr, nullptr, nullptr, nullptr);
        }
        const BoxView v = ShowAndInspect(row.owned ? &owner : nullptr, "edge", row.name, 0);
        ASSERT_TRUE(v.found);
        RECT over = desktop;
        if (row.owned) GetWindowRect(owner.hwnd, &over);
        // Each axis: a given edge, or centred over the owner.
        const int horizontal = row.left >= 0 ? v.rect.left - row.left
                               : row.right >= 0 ? v.rect.right - row.right
                                                : (v.rect.left + v.rect.right) - (over.left + over.right);
        const int vertical = row.top >= 0 ? v.rect.top - row.top
                             : row.bottom >= 0 ? v.rect.bottom - row.bottom
                                               : (v.rect.top + v.rect.bottom) - (over.top + over.bottom);
        EXPECT_NEAR(horizontal, 0, row.left < 0 && row.right < 0 ? 1 : 0);
        EXPECT_NEAR(vertical, 0, row.top < 0 && row.bottom < 0 ? 1 : 0);
        if (owner.hwnd) DestroyWindow(owner.hwnd);
    }
}

// A box opened from inside another box's loop keeps its own hook; both are
// gone afterwards.
int nestedResult;
void CALLBACK OpenInnerBox(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    expectedCaption = "Inner";
    SetTimer(nullptr, 0, 50, InspectBox);
    nestedResult = MessageBoxCentered(nullptr, "inner", "Inner", 0);
    // The outer box is still open and its hook still set.
    EXPECT_NE(MessageBoxHook, nullptr);
    HWND outer = FindWindowA("#32770", "Outer");
    PostMessageA(outer, WM_COMMAND, IDOK, 0);
}

TEST(MessageBoxCentered, NestedBoxesEachRemoveTheirOwnHook) {
    SetTimer(nullptr, 0, 50, OpenInnerBox);
    EXPECT_EQ(MessageBoxCentered(nullptr, "outer", "Outer", 0), IDOK);
    EXPECT_EQ(nestedResult, IDOK);
    EXPECT_EQ(MessageBoxHook, nullptr);
    // No hook left behind: a new pop-up stays where it is created.
    HWND popup = CreateWindowExA(0, "STATIC", "", WS_POPUP, 3, 4, 50, 50, nullptr, nullptr, nullptr, nullptr);
    RECT r;
    GetWindowRect(popup, &r);
    EXPECT_EQ(r.left, 3);
    EXPECT_EQ(r.top, 4);
    DestroyWindow(popup);
}

// Only the box is placed: windows the program makes while the box is open
// (from a timer inside its loop, here) stay where they are made.
std::vector<RECT> madeInside;
void CALLBACK MakeWindowsInsideTheBox(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowA("#32770", "Busy");
    if (!box || !IsWindowVisible(box)) return;
    KillTimer(nullptr, timer);
    const DWORD styles[] = {WS_POPUP, WS_POPUP | WS_CAPTION, WS_OVERLAPPEDWINDOW};
    for (DWORD style : styles) {
        HWND window = CreateWindowExA(0, "STATIC", "", style | WS_VISIBLE, 3, 4, 150, 90, box, nullptr, nullptr,
                                      nullptr);
        RECT r{};
        GetWindowRect(window, &r);
        madeInside.push_back(r);
        DestroyWindow(window);
    }
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST(MessageBoxCentered, WindowsMadeWhileTheBoxIsOpenAreLeftAlone) {
    madeInside.clear();
    SetTimer(nullptr, 0, 50, MakeWindowsInsideTheBox);
    EXPECT_EQ(MessageBoxCentered(nullptr, "busy", "Busy", 0), IDOK);
    ASSERT_EQ(madeInside.size(), 3u);
    for (const RECT& r : madeInside) {
        EXPECT_EQ(r.left, 3);
        EXPECT_EQ(r.top, 4);
    }
}

}  // namespace
