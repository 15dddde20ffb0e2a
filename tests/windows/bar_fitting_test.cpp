// Fitting an MDI client between the tool and status bars of its frame.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <vector>

#include "rt_dialogs_internal.h"
#include "rt_windows_internal.h"

namespace {

constexpr DWORD kFixedBar = WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN;

struct Bar {
    const char* className;
    DWORD placement;  // CCS_ bits
    int width, height;
    bool insideMdiChild;
};

class BarFittingTest : public testing::Test {
protected:
    void SetUp() override {
        InitCommonControls();
        ASSERT_EQ(WindowCreate(&frame_, 0, 0, 600, 400, WINOPT_FRAME, nullptr, "frame", nullptr), 1);
        // A client area of exactly 800 x 600.
        RECT outer{0, 0, 800, 600};
        AdjustWindowRectEx(&outer, GetWindowLongA(frame_.hwnd, GWL_STYLE), GetMenu(frame_.hwnd) != nullptr, 0);
        SetWindowPos(frame_.hwnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOMOVE | SWP_NOZORDER);
        RECT client;
        GetClientRect(frame_.hwnd, &client);
        ASSERT_EQ(client.right, 800);
        ASSERT_EQ(client.bottom, 600);
        MoveWindow(frame_.mdiClient, 0, 0, 800, 600, TRUE);
    }
    void TearDown() override { DestroyWindow(frame_.hwnd); }
    void Add(const Bar& bar) {
        HWND parent = frame_.hwnd;
        if (bar.insideMdiChild) {
            children_.emplace_back(new WindowRecord{});
            ASSERT_EQ(WindowCreate(children_.back().get(), 0, 0, 300, 200, 0, &frame_, "child", nullptr), 1);
            parent = children_.back()->hwnd;
        }
        HWND window = CreateWindowExA(0, bar.className, "", kFixedBar | bar.placement, 0, 0, bar.width, bar.height,
                                      parent, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr) << bar.className;
    }
    RECT ClientPlace() const {
        RECT r;
        GetWindowRect(frame_.mdiClient, &r);
        MapWindowPoints(nullptr, frame_.hwnd, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    WindowRecord frame_{};
    std::vector<std::unique_ptr<WindowRecord>> children_;
};

TEST_F(BarFittingTest, ClientTakesWhatTheBarsLeaveFree) {
    struct Row {
        const char* what;
        std::vector<Bar> bars;
        RECT expected;
    };
    const Row rows[] = {
        {"top toolbar and status bar",
         {{TOOLBARCLASSNAMEA, CCS_TOP, 800, 28, false}, {STATUSCLASSNAMEA, CCS_BOTTOM, 800, 20, false}},
         {0, 28, 800, 580}},
        {"left toolbar", {{TOOLBARCLASSNAMEA, CCS_LEFT, 40, 600, false}}, {40, 0, 800, 600}},
        {"right toolbar", {{TOOLBARCLASSNAMEA, CCS_RIGHT, 30, 600, false}}, {0, 0, 770, 600}},
        {"bottom toolbar", {{TOOLBARCLASSNAMEA, CCS_BOTTOM, 800, 25, false}}, {0, 0, 800, 575}},
        {"two top toolbars",
         {{TOOLBARCLASSNAMEA, CCS_TOP, 800, 28, false}, {TOOLBARCLASSNAMEA, CCS_TOP, 800, 28, false}},
         {0, 56, 800, 600}},
        {"no-move-y toolbar counts but takes nothing", {{TOOLBARCLASSNAMEA, CCS_NOMOVEY, 800, 28, false}},
         {0, 0, 800, 600}},
        {"status bar made with CCS_TOP is still a bottom bar", {{STATUSCLASSNAMEA, CCS_TOP, 800, 20, false}},
         {0, 0, 800, 580}},
        {"toolbar inside an MDI child", {{TOOLBARCLASSNAMEA, CCS_TOP, 300, 28, true}}, {0, 28, 800, 600}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TearDown();
        SetUp();
        for (const Bar& bar : row.bars) Add(bar);
        // Somewhere else first, so that a move is visible.
        MoveWindow(frame_.mdiClient, 5, 5, 10, 10, FALSE);
        EXPECT_EQ(FitClientToBars(frame_.hwnd, frame_.mdiClient), 1);
        const RECT r = ClientPlace();
        EXPECT_EQ(r.left, row.expected.left);
        EXPECT_EQ(r.top, row.expected.top);
        EXPECT_EQ(r.right, row.expected.right);
        EXPECT_EQ(r.bottom, row.expected.bottom);
    }
}

TEST_F(BarFittingTest, WithoutBarsNothingMoves) {
    MoveWindow(frame_.mdiClient, 5, 5, 10, 10, FALSE);
    EXPECT_EQ(FitClientToBars(frame_.hwnd, frame_.mdiClient), 0);
    const RECT r = ClientPlace();
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.right, 15);
}

TEST_F(BarFittingTest, AddingABarToAFrameFitsTheClient) {
    // A toolbar alone, made by the program itself.
    HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", kFixedBar | CCS_TOP, 0, 0, 800, 26, frame_.hwnd,
                                   nullptr, nullptr, nullptr);
    ASSERT_NE(toolbar, nullptr);
    RECT tools;
    GetWindowRect(toolbar, &tools);
    EXPECT_EQ(ClientPlace().top, tools.bottom - tools.top);
    ControlAdd(&frame_, CONTROL_STATUS_BAR, "ready", 0, 0, 800, 20, CCS_NORESIZE | CCS_NOPARENTALIGN, 77);
    HWND status = GetDlgItem(frame_.hwnd, 77);
    ASSERT_NE(status, nullptr);
    RECT bar;
    GetWindowRect(status, &bar);
    EXPECT_EQ(ClientPlace().bottom, 600 - (bar.bottom - bar.top));
    EXPECT_EQ(ClientPlace().top, tools.bottom - tools.top);
}

}  // namespace
