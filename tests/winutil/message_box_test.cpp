// The centred message box: the position written when its frame is created,
// where it finally stands, its icon and button, and nested boxes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pixels.h"
#include "rt_winutil.h"

namespace {

RECT WorkArea() {
    RECT r;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

// Runs the hook on made-up creation parameters: what would it write?
POINT HookPosition(HWND parent, DWORD style, int cx, int cy) {
    CREATESTRUCTA create{};
    create.style = static_cast<LONG>(style);
    create.hwndParent = parent;
    create.cx = cx;
    create.cy = cy;
    create.x = create.y = -12345;
    CBT_CREATEWNDA cbt{&create, nullptr};
    EXPECT_EQ(MessageBoxHookProc(HCBT_CREATEWND, 0, reinterpret_cast<LPARAM>(&cbt)), 0);
    return POINT{create.x, create.y};
}

TEST(MessageBoxHook, CreationPositionIsCentredOverTheParentAndClamped) {
    const RECT work = WorkArea();
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 400, 200, nullptr, nullptr,
                                 nullptr, nullptr);
    POINT p = HookPosition(owner, WS_POPUP | WS_CAPTION, 200, 100);
    EXPECT_EQ(p.x, 200);
    EXPECT_EQ(p.y, 150);

    SetWindowPos(owner, nullptr, work.right - 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    p = HookPosition(owner, WS_POPUP, 200, 100);
    EXPECT_EQ(p.x, work.right - 200) << "right edge on the work area";

    SetWindowPos(owner, nullptr, -390, -180, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    p = HookPosition(owner, WS_DLGFRAME, 200, 100);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);

    // No parent: over the desktop window.
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    p = HookPosition(nullptr, WS_POPUP, 200, 100);
    EXPECT_EQ(p.x, desktop.left + (desktop.right - desktop.left - 200) / 2);

    // Child windows are left where they are.
    CREATESTRUCTA child{};
    child.style = WS_CHILD;
    child.x = 7;
    CBT_CREATEWNDA cbt{&child, nullptr};
    MessageBoxHookProc(HCBT_CREATEWND, 0, reinterpret_cast<LPARAM>(&cbt));
    EXPECT_EQ(child.x, 7);
    DestroyWindow(owner);
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

TEST(MessageBoxCentered, BoxNearTheScreenEdgeStaysOnTheWorkArea) {
    const RECT work = WorkArea();
    WindowRecord owner{};
    owner.hwnd = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, work.right - 80, work.bottom - 50, 200, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    const BoxView v = ShowAndInspect(&owner, "edge", "Edge", 0);
    ASSERT_TRUE(v.found);
    EXPECT_EQ(v.rect.right, work.right);
    EXPECT_EQ(v.rect.bottom, work.bottom);
    DestroyWindow(owner.hwnd);
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

}  // namespace
