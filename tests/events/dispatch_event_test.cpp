// The dispatcher: decoding of each message kind, save and restore around
// nested handlers, and the menu commands.
#include <gtest/gtest.h>

#include "event_log.h"
#include "record_windows.h"
#include "rt_events.h"

namespace {

// Distinct values in every variable before each dispatch, so that a variable
// the message must not touch is seen to keep its value.
const EventSnapshot kBefore{0x1111, 0x2222, 0x3333, 44, 55, nullptr, 66, 77, 88};

class DispatchEventTest : public testing::Test {
protected:
    void SetUp() override {
        LoggedEvents.clear();
        record_.handler = LoggingHandler;
        SetEventSentinels(kBefore);
    }
    // The variables as the handler should see them: the sentinels with the
    // given changes applied.
    EventSnapshot Seen(int32_t message, intptr_t wParam, intptr_t lParam) const {
        EventSnapshot e = kBefore;
        e.message = message;
        e.wParam = wParam;
        e.lParam = lParam;
        e.window = &record_;
        return e;
    }
    WindowRecord record_{};
};

TEST_F(DispatchEventTest, DecodesEachKindOfMessage) {
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND scrollBar = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD, 0, 0, 10, 100, owner,
                                     reinterpret_cast<HMENU>(77), nullptr, nullptr);
    HWND button = CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 10, 10, owner, reinterpret_cast<HMENU>(3),
                                  nullptr, nullptr);
    record_.hwnd = owner;
    const auto buttonParam = reinterpret_cast<LPARAM>(button);
    NMHDR notify{button, 9, static_cast<UINT>(-2)};
    const auto notifyParam = reinterpret_cast<LPARAM>(&notify);

    struct Row {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        EventSnapshot expected;
    };
    auto with = [](EventSnapshot e, auto change) {
        change(e);
        return e;
    };
    const Row rows[] = {
        {WM_CLOSE, 0, 0, Seen(EVENT_CLOSE, 0, 0)},
        // Mouse: lParam becomes the key flags, coordinates zero-extended.
        {WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 20),
         with(Seen(WM_MOUSEMOVE, MK_LBUTTON, MK_LBUTTON), [](auto& e) { e.mouseX = 10, e.mouseY = 20; })},
        {WM_LBUTTONDOWN, 0, MAKELPARAM(-5, -7),
         with(Seen(WM_LBUTTONDOWN, 0, 0), [](auto& e) { e.mouseX = 65531, e.mouseY = 65529; })},
        {WM_LBUTTONUP, 0, MAKELPARAM(1, 2), with(Seen(WM_LBUTTONUP, 0, 0), [](auto& e) { e.mouseX = 1, e.mouseY = 2; })},
        {WM_LBUTTONDBLCLK, MK_SHIFT, MAKELPARAM(3, 4),
         with(Seen(WM_LBUTTONDBLCLK, MK_SHIFT, MK_SHIFT), [](auto& e) { e.mouseX = 3, e.mouseY = 4; })},
        {WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 6),
         with(Seen(WM_RBUTTONDOWN, MK_RBUTTON, MK_RBUTTON), [](auto& e) { e.mouseX = 5, e.mouseY = 6; })},
        {WM_RBUTTONUP, 0, MAKELPARAM(7, 8), with(Seen(WM_RBUTTONUP, 0, 0), [](auto& e) { e.mouseX = 7, e.mouseY = 8; })},
        {WM_RBUTTONDBLCLK, 0, MAKELPARAM(9, 10),
         with(Seen(WM_RBUTTONDBLCLK, 0, 0), [](auto& e) { e.mouseX = 9, e.mouseY = 10; })},
        // Not decoded: the middle button and the wheel.
        {WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(11, 12), Seen(WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(11, 12))},
        {WM_MOUSEWHEEL, 0x00780000, MAKELPARAM(13, 14), Seen(WM_MOUSEWHEEL, 0x00780000, MAKELPARAM(13, 14))},
        // Scroll: request and thumb position split out of wParam.
        {WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 40), reinterpret_cast<LPARAM>(scrollBar),
         with(Seen(WM_HSCROLL, SB_THUMBTRACK, 40), [](auto& e) { e.controlId = 77; })},
        {WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0,
         with(Seen(WM_VSCROLL, SB_LINEDOWN, 0), [](auto& e) { e.controlId = 0; })},
        // Commands from controls, also passed in as EVENT_CONTROL itself.
        {WM_COMMAND, MAKEWPARAM(3, BN_CLICKED), buttonParam,
         with(Seen(EVENT_CONTROL, MAKEWPARAM(3, BN_CLICKED), buttonParam),
              [](auto& e) { e.controlId = 3, e.notifyCode = 0; })},
        {EVENT_CONTROL, MAKEWPARAM(3, 5), buttonParam,
         with(Seen(EVENT_CONTROL, MAKEWPARAM(3, 5), buttonParam), [](auto& e) { e.controlId = 3, e.notifyCode = 5; })},
        {WM_COMMAND, MAKEWPARAM(0xFFFF, 0), buttonParam,
         with(Seen(EVENT_CONTROL, 0xFFFF, buttonParam), [](auto& e) { e.controlId = 0xFFFF, e.notifyCode = 0; })},
        {WM_COMMAND, MAKEWPARAM(2, 0xFFFE), buttonParam,
         with(Seen(EVENT_CONTROL, MAKEWPARAM(2, 0xFFFE), buttonParam),
              [](auto& e) { e.controlId = 2, e.notifyCode = 65534; })},
        // WM_NOTIFY: the full 32-bit code, parameters kept.
        {WM_NOTIFY, 9, notifyParam,
         with(Seen(EVENT_CONTROL, 9, notifyParam), [](auto& e) { e.controlId = 9, e.notifyCode = -2; })},
        // Menu command: no child window, so the record itself.
        {WM_COMMAND, MAKEWPARAM(1234, 0), 0,
         with(Seen(EVENT_MENU, MAKEWPARAM(1234, 0), 0), [](auto& e) { e.menuId = 1234; })},
        {EVENT_SIZE, SIZE_MAXIMIZED, MAKELPARAM(300, 200),
         Seen(EVENT_SIZE, SIZE_MAXIMIZED, reinterpret_cast<intptr_t>(owner))},
        {static_cast<UINT>(EVENT_ERASE), 1, 2, Seen(EVENT_ERASE, 1, 2)},
        {WM_INITDIALOG, 5, 6, Seen(WM_INITDIALOG, 5, 6)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(Describe(row.expected));
        LoggedEvents.clear();
        SetEventSentinels(kBefore);
        EXPECT_EQ(DispatchEvent(&record_, row.message, row.wParam, row.lParam), 0);
        ASSERT_EQ(LoggedEvents.size(), 1u);
        EXPECT_EQ(Describe(LoggedEvents[0]), Describe(row.expected));
        // Everything but the menu identifier is back as it was.
        EventSnapshot after = kBefore;
        after.menuId = row.expected.menuId;
        EXPECT_EQ(Describe(CurrentEvent()), Describe(after));
    }
    DestroyWindow(owner);
}

TEST_F(DispatchEventTest, ResultComesFromTheHandler) {
    record_.handler = [] { return int32_t{-7}; };
    EXPECT_EQ(DispatchEvent(&record_, WM_USER, 0, 0), -7);
    record_.handler = nullptr;
    EXPECT_EQ(DispatchEvent(&record_, WM_COMMAND, MAKEWPARAM(5, 0), 0), 0);
    // Variables are set and put back even without a handler.
    EventSnapshot after = kBefore;
    after.menuId = 5;
    EXPECT_EQ(CurrentEvent(), after);
    EXPECT_EQ(DispatchEvent(nullptr, WM_USER, 0, 0), 0);
}

// The outer handler dispatches a second event from inside; it must find its
// own event values again afterwards.
WindowRecord innerRecord;
EventSnapshot outerAfterNested;
int32_t NestingHandler() {
    LoggedEvents.push_back(CurrentEvent());
    if (EventMessage == EVENT_CONTROL) {
        DispatchEvent(&innerRecord, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1, 2));
        DispatchEvent(&innerRecord, WM_COMMAND, MAKEWPARAM(900, 0), 0);
        outerAfterNested = CurrentEvent();
    }
    return 0;
}

TEST_F(DispatchEventTest, NestedDispatchRestoresTheOuterHandlersVariables) {
    record_.handler = NestingHandler;
    innerRecord.handler = NestingHandler;
    HWND button = CreateWindowExA(0, "BUTTON", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const auto buttonParam = reinterpret_cast<LPARAM>(button);
    DispatchEvent(&record_, WM_COMMAND, MAKEWPARAM(3, 0), buttonParam);

    EventSnapshot outer = Seen(EVENT_CONTROL, 3, buttonParam);
    outer.controlId = 3;
    outer.notifyCode = 0;
    EventSnapshot move = outer;
    move.message = WM_MOUSEMOVE;
    move.wParam = move.lParam = MK_LBUTTON;
    move.mouseX = 1;
    move.mouseY = 2;
    move.window = &innerRecord;
    EventSnapshot menu = outer;
    menu.message = EVENT_MENU;
    menu.wParam = 900;
    menu.lParam = 0;
    menu.menuId = 900;
    menu.window = &innerRecord;
    EXPECT_SEQUENCE(LoggedEvents, {{outer}, {move}, {menu}});
    // The menu identifier alone survives the nested dispatch.
    outer.menuId = 900;
    EXPECT_EQ(Describe(outerAfterNested), Describe(outer));
    EventSnapshot after = kBefore;
    after.menuId = 900;
    EXPECT_EQ(CurrentEvent(), after);
    DestroyWindow(button);
}

TEST_F(DispatchEventTest, MenuCommandGoesToTheTopmostRuntimeChild) {
    WindowRecord childRecord{};
    CreateRecordWindow(&record_);
    HWND child = CreateRecordWindow(&childRecord, record_.hwnd, WS_CHILD | WS_VISIBLE);
    SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    DispatchEvent(&record_, WM_COMMAND, 42, 0);
    ASSERT_EQ(LoggedEvents.size(), 1u);
    EXPECT_EQ(LoggedEvents[0].window, &childRecord);

    // A system control on top: its window data is no record.
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, record_.hwnd, nullptr,
                                nullptr, nullptr);
    SetWindowPos(edit, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_EQ(GetTopWindow(record_.hwnd), edit);
    DispatchEvent(&record_, WM_COMMAND, 43, 0);
    ASSERT_EQ(LoggedEvents.size(), 2u);
    EXPECT_EQ(LoggedEvents[1].window, &record_);

    // A record without a window (a closed dialog, say) keeps the event,
    // whatever runtime window is on top of the desktop.
    WindowRecord closed{};
    closed.handler = LoggingHandler;
    SetWindowPos(record_.hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_EQ(GetTopWindow(nullptr), record_.hwnd);
    DispatchEvent(&closed, WM_COMMAND, 44, 0);
    ASSERT_EQ(LoggedEvents.size(), 3u);
    EXPECT_EQ(LoggedEvents[2].window, &closed);
    DestroyWindow(record_.hwnd);
}

TEST_F(DispatchEventTest, MdiMenuCommandsActOnTheRealClientFirst) {
    CreateRecordFrame(&record_);
    ASSERT_NE(record_.mdiClient, nullptr);
    WindowRecord children[3]{};
    for (WindowRecord& child : children) {
        child.handler = LoggingHandler;
        ASSERT_NE(CreateRecordMdiChild(&record_, &child, "child"), nullptr);
    }
    auto rectOf = [](HWND window) {
        RECT r;
        GetWindowRect(window, &r);
        return r;
    };
    RECT client;
    GetClientRect(record_.mdiClient, &client);

    // Tile: horizontally, so the children are stacked full-width.
    LoggedEvents.clear();
    DispatchEvent(&record_, WM_COMMAND, IDM_TILE, 0);
    ASSERT_EQ(LoggedEvents.size(), 1u);
    EXPECT_EQ(LoggedEvents[0].message, EVENT_MENU);
    EXPECT_EQ(LoggedEvents[0].menuId, IDM_TILE);
    // The active (topmost) MDI child's record is the event's window.
    EXPECT_EQ(LoggedEvents[0].window, &children[2]);
    for (const WindowRecord& child : children) {
        const RECT r = rectOf(child.hwnd);
        EXPECT_EQ(r.right - r.left, client.right - client.left);
    }

    // Cascade: each child offset down and right from the previous one.
    DispatchEvent(&record_, WM_COMMAND, IDM_CASCADE, 0);
    const RECT a = rectOf(children[0].hwnd);
    const RECT b = rectOf(children[1].hwnd);
    const RECT c = rectOf(children[2].hwnd);
    EXPECT_NE(a.left, b.left);
    EXPECT_NE(a.top, b.top);
    EXPECT_LT(a.right - a.left, client.right - client.left);
    EXPECT_EQ(b.left - a.left, c.left - b.left) << "cascade steps alike";

    // Arrange: minimized children lined up along the client's bottom.
    for (const WindowRecord& child : children) ShowWindow(child.hwnd, SW_MINIMIZE);
    for (const WindowRecord& child : children) SetWindowPos(child.hwnd, nullptr, 100, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    DispatchEvent(&record_, WM_COMMAND, IDM_ARRANGE, 0);
    RECT clientOnScreen = client;
    MapWindowPoints(record_.mdiClient, nullptr, reinterpret_cast<POINT*>(&clientOnScreen), 2);
    for (const WindowRecord& child : children) {
        EXPECT_EQ(rectOf(child.hwnd).bottom, clientOnScreen.bottom);
    }
    EXPECT_EQ(LoggedEvents.back().menuId, IDM_ARRANGE);
    DestroyWindow(record_.hwnd);
}

TEST_F(DispatchEventTest, MdiCommandWithoutClientOnlyReachesTheHandler) {
    DispatchEvent(&record_, WM_COMMAND, IDM_TILE, 0);
    ASSERT_EQ(LoggedEvents.size(), 1u);
    EXPECT_EQ(LoggedEvents[0].message, EVENT_MENU);
    EXPECT_EQ(LoggedEvents[0].menuId, IDM_TILE);
}

}  // namespace
