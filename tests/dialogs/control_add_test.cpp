// Adding controls to dialog definitions and to windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "record_windows.h"
#include "rt_controls_internal.h"
#include "rt_dialogs_internal.h"
#include "test_support.h"

namespace {

class ControlAddTest : public testing::Test {
protected:
    void TearDown() override { ResetRuntimeGlobals(); }
    void SetUp() override { DialogCreate(&dialog_, 0, 0, 300, 200, 0, nullptr, "d", nullptr); }
    const ControlDefinition* Last() const {
        const ControlDefinition* c = dialog_.definition->controls;
        while (c && c->next) c = c->next;
        return c;
    }
    WindowRecord dialog_{};
};

TEST_F(ControlAddTest, TypeTableGivesClassStyleAndExtendedStyle) {
    struct Row {
        int32_t type;
        uint32_t style;
        const char* className;
        uint32_t storedStyle;
        uint32_t exStyle;
        int32_t isDefault;
    };
    const Row rows[] = {
        {1, 0x50000000, "BUTTON", 0x5000000B, 0, 0},
        {1, 0x50000001, "BUTTON", 0x5000000B, 0, 1},
        {1, 0x50000080, "BUTTON", 0x50000080, 0, 0},  // bitmap button, not owner-drawn
        {20, 0x00000001, "BUTTON", 0x5000000B, 0, 1},
        {13, BS_DEFPUSHBUTTON, "BUTTON", 0x50000001, 0, 1},
        {2, 0, "BUTTON", 0x50000003, 0, 0},
        {3, 0, "BUTTON", 0x50000009, 0, 0},
        {4, 0x50800000, "EDIT", 0x50800000, 0x200, 0},
        {5, 0, "LISTBOX", 0x50800140, 0x200, 0},
        {6, 0, "COMBOBOX", 0x50800600, 0x200, 0},
        {7, 0x5000010B, "STATIC", 0x5000010B, 0, 0},
        {8, 0, "SCROLLBAR", 0x50000000, 0, 0},
        {9, 0, "BUTTON", 0x50000007, 0, 0},
        {10, WS_BORDER, "RichEdit", 0x50800000, 0x200, 0},
        {10, 0, "RichEdit", 0x50000000, 0, 0},
        {11, 0, "SysListView32", 0x50000000, 0, 0},
        {12, 0, "msctls_statusbar32", 0x50000000, 0, 0},
        {14, WS_BORDER, "SysTreeView32", 0x50800000, 0x200, 0},
        // Bit 0x80000 asks for a hidden control and never reaches the system.
        {4, 0x80000, "EDIT", 0x40800000, 0x200, 0},
        {7, 0x50080000, "STATIC", 0x40000000, 0, 0},
    };
    int32_t id = 100;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "type " << row.type << " style " << std::hex << row.style);
        ControlAdd(&dialog_, static_cast<ControlType>(row.type), "t", 0, 0, 10, 10, row.style, ++id);
        const ControlDefinition* c = Last();
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->id, id);
        EXPECT_STREQ(c->className, row.className);
        EXPECT_EQ(c->style, row.storedStyle);
        EXPECT_EQ(c->exStyle, row.exStyle);
        EXPECT_EQ(c->isDefault, row.isDefault);
        EXPECT_EQ(c->type, row.type);
        EXPECT_STREQ(c->text, "t");
    }
}

TEST_F(ControlAddTest, PixelsBecomeDialogUnitsAndDuplicatesAreRefused) {
    ControlAdd(&dialog_, CONTROL_PUSH_BUTTON, "OK", 240, 78, 70, 20, 0x50000000, 3);
    ControlAdd(&dialog_, CONTROL_EDIT, "second", 0, 0, 10, 10, 0, 3);
    const ControlDefinition* c = dialog_.definition->controls;
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->next, nullptr);
    EXPECT_STREQ(c->text, "OK");
    EXPECT_EQ(c->x, 160);
    EXPECT_EQ(c->y, 48);
    EXPECT_EQ(c->cx, 47);
    EXPECT_EQ(c->cy, 12);
    // The text is a copy of its own.
    EXPECT_EQ(GlobalSize(GlobalHandle(c->text)), 3u);

    // Identifiers are compared as the template keeps them, in 16 bits, but
    // -1, which any number of labels share; a rectangle the template cannot
    // hold is refused as well. The result says which.
    EXPECT_EQ(ControlAdd(&dialog_, CONTROL_LABEL, "", 0, 0, 10, 10, 0, -1), 1);
    EXPECT_EQ(ControlAdd(&dialog_, CONTROL_LABEL, "", 0, 0, 10, 10, 0, 0xFFFF), 1);
    const ControlDefinition* last = c->next->next;
    ASSERT_NE(last, nullptr);
    struct Row {
        int32_t id;
        int32_t x, y, width, height;
    };
    const Row refused[] = {
        {0x10003, 0, 0, 10, 10}, {3, 0, 0, 10, 10},        {0x7FFFFFFF, 0, 0, 10, 10},
        {20, 100000, 0, 10, 10}, {21, -100000, 0, 10, 10}, {22, 0, 60000, 10, 10},
        {23, 0, 0, 60000, 10},   {24, 0, 0, 10, -60000},  {25, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX},
    };
    for (const Row& row : refused) {
        SCOPED_TRACE(row.id);
        EXPECT_EQ(ControlAdd(&dialog_, CONTROL_EDIT, "refused", row.x, row.y, row.width, row.height, 0, row.id), 0);
        EXPECT_EQ(last->next, nullptr);
    }
    // The edges of what fits.
    EXPECT_EQ(ControlAdd(&dialog_, CONTROL_EDIT, "fits", -49152, 53247, 0, 0, 0, 30), 1);
    ASSERT_NE(last->next, nullptr);
    EXPECT_EQ(last->next->x, -32768);
    EXPECT_EQ(last->next->y, 32767);
}

TEST_F(ControlAddTest, ByClassKeepsTheCallersBitsAndRefusesLongClassNames) {
    EXPECT_EQ(ControlAddByClass(&dialog_, "MyClass", "x", 6, 13, 12, 26, 0x80001, 0x20, 5), nullptr);
    const ControlDefinition* c = Last();
    ASSERT_NE(c, nullptr);
    EXPECT_STREQ(c->className, "MyClass");
    EXPECT_EQ(c->style, 0x50080001u);
    EXPECT_EQ(c->exStyle, 0x20u);
    EXPECT_EQ(c->type, 99);
    EXPECT_EQ(c->isDefault, 0);
    EXPECT_EQ(c->x, 4);
    EXPECT_EQ(c->y, 8);
    EXPECT_EQ(c->cx, 8);
    EXPECT_EQ(c->cy, 16);

    const std::string longName(32, 'c');
    ControlAddByClass(&dialog_, longName.c_str(), "x", 0, 0, 1, 1, 0, 0, 6);
    EXPECT_EQ(Last()->id, 5);
    const std::string fits(31, 'c');
    ControlAddByClass(&dialog_, fits.c_str(), "x", 0, 0, 1, 1, 0, 0, 6);
    EXPECT_EQ(std::string(Last()->className), fits);
}

// A control the dialog manager cannot make fails the whole dialog: an
// unknown type (no class) or an empty class name is refused, and the dialog
// still shows.
TEST_F(ControlAddTest, ControlsWithoutAClassAreRefused) {
    ControlAdd(&dialog_, CONTROL_EDIT, "", 0, 0, 50, 14, 0, 1);
    ControlAdd(&dialog_, static_cast<ControlType>(77), "x", 0, 20, 10, 10, 0, 2);
    EXPECT_EQ(ControlAddByClass(&dialog_, "", "x", 0, 30, 10, 10, 0, 0, 3), nullptr);
    EXPECT_EQ(ControlAddByClass(&dialog_, nullptr, "x", 0, 40, 10, 10, 0, 0, 4), nullptr);
    EXPECT_EQ(Last()->id, 1);
    HWND shown = DialogShow(&dialog_, nullptr);
    EXPECT_NE(shown, nullptr);
    if (shown) DestroyWindow(shown);
}

TEST(ControlAddWindow, CreatesAndAttachesAtOnceInPixels) {
    WindowRecord window{};
    CreateRecordWindow(&window);
    ControlAdd(&window, CONTROL_EDIT, "typed", 10, 20, 120, 24, 0, 7);
    HWND edit = GetDlgItem(window.hwnd, 7);
    ASSERT_NE(edit, nullptr);
    RECT r;
    GetWindowRect(edit, &r);
    MapWindowPoints(nullptr, window.hwnd, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, 120);
    EXPECT_EQ(GetWindowLongA(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
    EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(GenericControlProc));
    char text[16];
    GetWindowTextA(edit, text, sizeof(text));
    EXPECT_STREQ(text, "typed");

    // A duplicate identifier is refused by asking the window; -1 is not one.
    EXPECT_EQ(ControlAdd(&window, CONTROL_LABEL, "other", 0, 0, 10, 10, 0, 7), 0);
    EXPECT_EQ(GetDlgItem(window.hwnd, 7), edit);
    EXPECT_EQ(ControlAdd(&window, CONTROL_LABEL, "a", 0, 0, 10, 10, 0, -1), 1);
    EXPECT_EQ(ControlAdd(&window, CONTROL_LABEL, "b", 0, 0, 10, 10, 0, -1), 1);
    // Hidden on request.
    ControlAdd(&window, CONTROL_LABEL, "hidden", 0, 0, 10, 10, CONTROL_HIDDEN, 8);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(window.hwnd, 8)));

    HWND byClass = ControlAddByClass(&window, "BUTTON", "b", 0, 50, 40, 20, 0, 0, 9);
    EXPECT_EQ(byClass, GetDlgItem(window.hwnd, 9));
    EXPECT_EQ(ControlAddByClass(&window, "BUTTON", "b", 0, 50, 40, 20, 0, 0, 9), nullptr);
    DestroyWindow(window.hwnd);

    // No window yet: nothing is created.
    WindowRecord noWindow{};
    EXPECT_EQ(ControlAddByClass(&noWindow, "BUTTON", "b", 0, 0, 1, 1, 0, 0, 1), nullptr);
    EXPECT_EQ(ControlAdd(&noWindow, CONTROL_EDIT, "", 0, 0, 1, 1, 0, 1), 0);
}

// The runtime looks comctl32's entry points up when it first needs them;
// the lookup of InitCommonControls is answered with a counter.
int initCalls;
void WINAPI CountingInitCommonControls() { ++initCalls; }
FARPROC(WINAPI* realGetProcAddress)(HMODULE, LPCSTR);
FARPROC WINAPI CountingGetProcAddress(HMODULE module, LPCSTR name) {
    if (!IS_INTRESOURCE(name) && lstrcmpA(name, "InitCommonControls") == 0) {
        return reinterpret_cast<FARPROC>(CountingInitCommonControls);
    }
    return realGetProcAddress(module, name);
}

TEST(ControlAddWindow, CommonControlsAreInitialisedOnce) {
    ScopedImportHook count("kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(CountingGetProcAddress));
    ASSERT_TRUE(count.Installed());
    realGetProcAddress = reinterpret_cast<FARPROC(WINAPI*)(HMODULE, LPCSTR)>(count.Original());
    CommonControlsReady = 0;  // as in a fresh process
    WindowRecord dialog{};
    DialogCreate(&dialog, 0, 0, 100, 100, 0, nullptr, "", nullptr);
    ControlAdd(&dialog, CONTROL_EDIT, "", 0, 0, 1, 1, 0, 1);
    EXPECT_EQ(initCalls, 0);
    ControlAdd(&dialog, CONTROL_LIST_VIEW, "", 0, 0, 1, 1, 0, 2);
    ControlAdd(&dialog, CONTROL_STATUS_BAR, "", 0, 0, 1, 1, 0, 3);
    ControlAdd(&dialog, CONTROL_TREE_VIEW, "", 0, 0, 1, 1, 0, 4);
    EXPECT_EQ(initCalls, 1);
    EXPECT_EQ(CommonControlsReady, 1);
    WindowListFree();
}

TEST(ControlAddWindow, RichEditLibraryIsLoadedForTheFirstRichEdit) {
    WindowRecord window{};
    CreateRecordWindow(&window);
    ControlAdd(&window, CONTROL_RICH_EDIT, "rich", 0, 0, 100, 40, WS_BORDER, 1);
    ASSERT_NE(RichEditLibrary, nullptr);
    const HMODULE first = RichEditLibrary;
    ControlAdd(&window, CONTROL_RICH_EDIT, "rich", 0, 50, 100, 40, 0, 2);
    EXPECT_EQ(RichEditLibrary, first);
    EXPECT_NE(GetDlgItem(window.hwnd, 1), nullptr);
    DestroyWindow(window.hwnd);
}

}  // namespace
