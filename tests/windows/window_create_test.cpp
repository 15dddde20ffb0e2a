// Runtime windows: classes, styles from option bits, frames with their MDI
// client and menu, the record's drawing state, and clean-up.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include <windows.h>

#include <commctrl.h>

#include "gdi_ledger.h"
#include "rt_controls_internal.h"
#include "rt_dialogs_internal.h"
#include "rt_events.h"
#include "rt_windows_internal.h"
#include "test_support.h"

namespace {

// What a window shows of how it was made: its class, parent and styles, less
// the bits the system adds by itself (sibling clipping for top-level
// windows, the raised edge for captions).
struct Creation {
    std::string className;
    HWND parent;
    DWORD style;
    DWORD exStyle;
};
Creation Observe(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof(name));
    const bool child = (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0;
    return Creation{name, child ? GetParent(window) : nullptr,
                    static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & ~static_cast<DWORD>(WS_CLIPSIBLINGS),
                    static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)) & ~static_cast<DWORD>(WS_EX_WINDOWEDGE)};
}

class WindowCreateTest : public testing::Test {
protected:
    void TearDown() override {
        for (WindowRecord* r : {&a_, &b_, &frame_}) {
            if (r->hwnd && IsWindow(r->hwnd)) DestroyWindow(r->hwnd);
        }
    }
    WindowRecord a_{}, b_{}, frame_{};
};

TEST_F(WindowCreateTest, OptionBitsBecomeStylesAndExtendedStyles) {
    struct Row {
        uint32_t style;
        bool withParent;
        DWORD expectedStyle;
        DWORD expectedExStyle;
        int32_t hasBackBitmap;
    };
    const Row rows[] = {
        {WINOPT_NOBITMAP, false, 0x92C80000, 0, 0},
        {0, false, 0x92C80000, 0, 1},
        {WINOPT_NOCAPTION, true, 0x54000000, 0, 1},
        {0, true, 0x54C80000, 0, 1},
        {WINOPT_TOOLWINDOW | WINOPT_TOPMOST, false, 0x92C80000, 0x88, 1},
        {WS_THICKFRAME | WINOPT_NOCAPTION, false, 0x92040000, 0, 1},
    };
    ASSERT_EQ(WindowCreate(&b_, 0, 0, 200, 200, 0, nullptr, "parent", nullptr), 1);
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << row.style << " parent " << row.withParent);
        ASSERT_EQ(WindowCreate(&a_, 10, 10, 100, 80, row.style, row.withParent ? &b_ : nullptr, "w", nullptr), 1);
        const Creation made = Observe(a_.hwnd);
        EXPECT_EQ(made.className, "CorvantisWndClass");
        EXPECT_EQ(made.style, row.expectedStyle & ~static_cast<DWORD>(WS_CLIPSIBLINGS));
        EXPECT_EQ(made.exStyle, row.expectedExStyle);
        EXPECT_EQ(made.parent, row.withParent ? b_.hwnd : nullptr);
        EXPECT_EQ(a_.hasBackBitmap, row.hasBackBitmap);
        DestroyWindow(a_.hwnd);
    }
    // A parent record without a window counts as no parent.
    WindowRecord unborn{};
    ASSERT_EQ(WindowCreate(&a_, 0, 0, 50, 50, 0, &unborn, "w", nullptr), 1);
    EXPECT_EQ(Observe(a_.hwnd).style & WS_POPUP, static_cast<DWORD>(WS_POPUP));
}

TEST_F(WindowCreateTest, RecordGetsTheWindowAndItsDrawingState) {
    EventHandler handler = [] { return int32_t{0}; };
    MdiClientAtom = 0;  // as before the first window of a process
    a_.definition = reinterpret_cast<DialogDefinition*>(0x1234);  // not touched
    ASSERT_EQ(WindowCreate(&a_, 10, 10, 100, 80, 0, nullptr, "w", handler), 1);
    EXPECT_EQ(reinterpret_cast<WindowRecord*>(GetWindowLongPtrA(a_.hwnd, 0)), &a_);
    EXPECT_EQ(a_.handler, handler);
    EXPECT_EQ(a_.kind, 0);
    EXPECT_EQ(a_.isDialog, 0);
    EXPECT_EQ(a_.spareA, 0);
    EXPECT_EQ(a_.spareB, 1);
    EXPECT_EQ(a_.mdiClient, nullptr);
    EXPECT_EQ(a_.cursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(a_.windowColor, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(a_.definition, reinterpret_cast<DialogDefinition*>(0x1234));
    a_.definition = nullptr;
    BITMAP bitmap{};
    ASSERT_EQ(GetObjectA(a_.backBitmap, sizeof(bitmap), &bitmap), static_cast<int>(sizeof(bitmap)));
    EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(bitmap.bmHeight, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(GetObjectType(a_.pen), static_cast<DWORD>(OBJ_PEN));
    EXPECT_EQ(GetObjectType(a_.font), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(a_.bkMode, OPAQUE);
    EXPECT_EQ(a_.rop2, R2_COPYPEN);
    // The first ordinary window, before any frame.
    EXPECT_EQ(MdiClientAtom, 0xFFFF);
}

TEST_F(WindowCreateTest, FrameHasWindowMenuAndMdiClient) {
    ASSERT_EQ(WindowCreate(&frame_, 0, 0, 600, 400, WINOPT_FRAME, nullptr, "frame", nullptr), 1);
    EXPECT_EQ(Observe(frame_.hwnd).className, "CorvantisFrameClass");
    HMENU bar = GetMenu(frame_.hwnd);
    ASSERT_NE(bar, nullptr);
    char text[32];
    GetMenuStringA(bar, 0, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ(text, "&Window");
    HMENU popup = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(popup), 3);
    EXPECT_EQ(GetMenuItemID(popup, 0), static_cast<UINT>(IDM_CASCADE));
    EXPECT_EQ(GetMenuItemID(popup, 1), static_cast<UINT>(IDM_TILE));
    EXPECT_EQ(GetMenuItemID(popup, 2), static_cast<UINT>(IDM_ARRANGE));
    GetMenuStringA(popup, 2, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ(text, "&Arrange Icons");

    ASSERT_NE(frame_.mdiClient, nullptr);
    EXPECT_EQ(GetDlgCtrlID(frame_.mdiClient), MDI_CLIENT_ID);
    EXPECT_EQ(MdiClientAtom, static_cast<uint16_t>(GetClassWord(frame_.mdiClient, GCW_ATOM)));
    EXPECT_TRUE(IsWindowVisible(frame_.mdiClient));

    // Children of the frame are MDI children inside its client.
    ASSERT_EQ(WindowCreate(&a_, 0, 0, 200, 150, 0, &frame_, "child", nullptr), 1);
    EXPECT_EQ(Observe(a_.hwnd).exStyle & WS_EX_MDICHILD, static_cast<DWORD>(WS_EX_MDICHILD));
    EXPECT_EQ(GetParent(a_.hwnd), frame_.mdiClient);
    EXPECT_EQ(GetDlgCtrlID(a_.hwnd), MDI_FIRST_CHILD_ID);
}

TEST_F(WindowCreateTest, MaximisedStyleShowsTheWindowMaximised) {
    ASSERT_EQ(WindowCreate(&a_, 0, 0, 200, 150, WS_MAXIMIZE | WS_THICKFRAME, nullptr, "max", nullptr), 1);
    EXPECT_TRUE(IsZoomed(a_.hwnd));
}

TEST(WindowLifetime, NoGdiObjectsLeakOverManyWindows) {
    GdiLedger ledger;
    ASSERT_TRUE(ledger.Installed());
    WindowRecord frame{};
    ASSERT_EQ(WindowCreate(&frame, 0, 0, 400, 300, WINOPT_FRAME, nullptr, "frame", nullptr), 1);
    const size_t frameObjects = ledger.Live();
    for (int i = 0; i < 200; ++i) {
        WindowRecord record{};
        ASSERT_EQ(WindowCreate(&record, 0, 0, 100, 80, i % 2 ? static_cast<uint32_t>(WINOPT_NOBITMAP) : 0u, i % 3 ? nullptr : &frame, "w",
                               nullptr), 1);
        RedrawWindow(record.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        HWND window = record.hwnd;
        DestroyWindow(window);
        // The record keeps its handle, but not the objects.
        EXPECT_EQ(record.hwnd, window);
        EXPECT_EQ(record.backBitmap, nullptr);
    }
    EXPECT_EQ(ledger.Live(), frameObjects);
    EXPECT_EQ(ledger.ForeignDeletions(), 0u);
    DestroyWindow(frame.hwnd);
    EXPECT_EQ(ledger.Live(), 0u);
}

// Fonts handed to controls with WM_SETFONT stay their creator's: the
// runtime deletes none of them, neither while another control still uses one
// nor when the control that owns its internal font reports it.
TEST(WindowLifetime, FontsGivenToControlsAreLeftToTheirOwners) {
    GdiLedger ledger;
    ASSERT_TRUE(ledger.Installed());
    WindowRecord window{};
    ASSERT_EQ(WindowCreate(&window, 0, 0, 400, 300, 0, nullptr, "fonts", nullptr), 1);
    const size_t windowObjects = ledger.Live();
    LOGFONTA description{};
    description.lfHeight = 14;
    lstrcpyA(description.lfFaceName, "MS Sans Serif");
    HFONT shared = CreateFontIndirectA(&description);
    ControlAdd(&window, CONTROL_EDIT, "", 0, 0, 100, 20, 0, 1);
    ControlAdd(&window, CONTROL_EDIT, "", 0, 30, 100, 20, 0, 2);
    for (int id : {1, 2}) SendDlgItemMessageA(window.hwnd, id, WM_SETFONT, reinterpret_cast<WPARAM>(shared), FALSE);
    DestroyWindow(GetDlgItem(window.hwnd, 1));
    EXPECT_EQ(GetObjectType(shared), static_cast<DWORD>(OBJ_FONT)) << "deleted while the second edit uses it";
    DestroyWindow(GetDlgItem(window.hwnd, 2));
    EXPECT_EQ(GetObjectType(shared), static_cast<DWORD>(OBJ_FONT)) << "the program's font was deleted";
    EXPECT_EQ(ledger.ForeignDeletions(), 0u);
    DeleteObject(shared);

    // Controls that keep a font of their own, and labels given the window's.
    ControlAdd(&window, CONTROL_LIST_VIEW, "", 0, 0, 100, 50, 0, 3);
    ControlAdd(&window, CONTROL_STATUS_BAR, "", 0, 0, 0, 0, 0, 4);
    ControlAdd(&window, CONTROL_TREE_VIEW, "", 0, 60, 100, 50, 0, 5);
    ASSERT_NE(ControlAddByClass(&window, TOOLBARCLASSNAMEA, "", 0, 0, 0, 0, CCS_TOP, 0, 6), nullptr);
    for (int id = 7; id <= 9; ++id) {
        ControlAdd(&window, CONTROL_LABEL, "label", 0, 120 + 20 * id, 80, 20, 0, id);
        SendDlgItemMessageA(window.hwnd, id, WM_SETFONT, reinterpret_cast<WPARAM>(window.font), FALSE);
    }
    for (int id = 3; id <= 6; ++id) ASSERT_NE(GetDlgItem(window.hwnd, id), nullptr) << id;
    DestroyWindow(window.hwnd);
    EXPECT_EQ(ledger.ForeignDeletions(), 0u);
    EXPECT_EQ(windowObjects, 4u);
    EXPECT_EQ(ledger.Live(), 0u) << "the window's bitmap, the DC its paints copy through, pen and font go with it";

    // What the runtime made itself still goes, cycle after cycle.
    const size_t before = ledger.Live();
    for (int i = 0; i < Cycles(1000); ++i) {
        WindowRecord cycle{};
        ASSERT_EQ(WindowCreate(&cycle, 0, 0, 200, 100, 0, nullptr, "cycle", nullptr), 1);
        for (int id = 1; id <= 3; ++id) {
            ControlAdd(&cycle, id == 1 ? CONTROL_EDIT : CONTROL_LABEL, "x", 0, 20 * id, 80, 20, 0, id);
            SendDlgItemMessageA(cycle.hwnd, id, WM_SETFONT, reinterpret_cast<WPARAM>(cycle.font), FALSE);
        }
        DestroyWindow(cycle.hwnd);
    }
    EXPECT_EQ(ledger.Live(), before);
    EXPECT_EQ(ledger.ForeignDeletions(), 0u);
}

// A record has one window at a time: creating again while it exists is
// refused and changes nothing; once it is gone the record takes a new one.
TEST(WindowLifetime, CreatingAgainWhileTheWindowExistsIsRefused) {
    GdiLedger ledger;
    ASSERT_TRUE(ledger.Installed());
    WindowRecord record{};
    ASSERT_EQ(WindowCreate(&record, 0, 0, 200, 100, 0, nullptr, "first", nullptr), 1);
    const HWND first = record.hwnd;
    const HBITMAP bitmap = record.backBitmap;
    const size_t live = ledger.Live();
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(WindowCreate(&record, 0, 0, 200, 100, i % 2 ? WINOPT_NOBITMAP : 0u, nullptr, "again", nullptr), 0);
    }
    EXPECT_EQ(record.hwnd, first);
    EXPECT_EQ(record.backBitmap, bitmap);
    EXPECT_EQ(ledger.Live(), live);
    InvalidateRect(first, nullptr, TRUE);
    WaitEvents(1);  // paints the one window and returns
    RECT update;
    EXPECT_FALSE(GetUpdateRect(first, &update, FALSE));
    DestroyWindow(first);
    ASSERT_EQ(WindowCreate(&record, 0, 0, 200, 100, 0, nullptr, "second", nullptr), 1);
    EXPECT_NE(record.hwnd, nullptr);
    DestroyWindow(record.hwnd);
    EXPECT_EQ(ledger.Live(), 0u);
}

// Windows made inside another window's creation (from its WM_CREATE
// handler) leave the outer window's creation events intact.
WindowRecord outerRecord, middleRecord, innerRecord;
int nestingDepth;
std::vector<std::pair<const WindowRecord*, int32_t>> creationEvents;
int32_t NestingHandler() {
    const int32_t m = EventMessage;
    if (m == WM_CREATE || m == WM_SIZE || m == WM_MOVE || m == EVENT_SIZE || m == WM_SHOWWINDOW) {
        creationEvents.emplace_back(EventWindow, m);
    }
    if (m == WM_CREATE) {
        if (EventWindow == &outerRecord && nestingDepth > 0) {
            WindowCreate(&middleRecord, 300, 0, 100, 80, 0, nullptr, "middle", NestingHandler);
        } else if (EventWindow == &middleRecord && nestingDepth > 1) {
            WindowCreate(&innerRecord, 400, 0, 100, 80, 0, nullptr, "inner", NestingHandler);
        }
    }
    return 0;
}

TEST(WindowLifetime, AWindowMadeDuringAnothersCreationKeepsTheOuterEvents) {
    std::vector<int32_t> alone;
    for (int depth = 0; depth <= 2; ++depth) {
        SCOPED_TRACE(testing::Message() << "nesting depth " << depth);
        nestingDepth = depth;
        creationEvents.clear();
        outerRecord = middleRecord = innerRecord = WindowRecord{};
        ASSERT_EQ(WindowCreate(&outerRecord, 0, 0, 200, 100, 0, nullptr, "outer", NestingHandler), 1);
        std::vector<int32_t> seen[3];
        for (const auto& event : creationEvents) {
            const int which = event.first == &outerRecord ? 0 : event.first == &middleRecord ? 1 : 2;
            seen[which].push_back(event.second);
        }
        if (depth == 0) {
            alone = seen[0];
            ASSERT_GT(alone.size(), 1u) << "events after WM_CREATE";
        }
        for (int which = 0; which <= depth; ++which) EXPECT_EQ(seen[which], alone) << "window " << which;
        EXPECT_EQ(CreatingWindow, nullptr);
        for (WindowRecord* r : {&innerRecord, &middleRecord, &outerRecord}) {
            if (r->hwnd) DestroyWindow(r->hwnd);
        }
    }
}

}  // namespace
