// The message pump: waiting, draining, accelerators, key filters, dialog
// keyboard navigation and the no-record path.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "event_log.h"
#include "record_windows.h"
#include "rt_controls_internal.h"
#include "rt_dialogs_internal.h"
#include "rt_events.h"
#include "rt_core.h"
#include "test_support.h"

namespace {

bool QueueIsEmpty() {
    MSG message;
    return !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
}

class WaitEventsTest : public testing::Test {
protected:
    void SetUp() override {
        LoggedEvents.clear();
        record_.handler = LoggingHandler;
        CreateRecordWindow(&record_);
        DrainMessages();
        LoggedEvents.clear();
    }
    void TearDown() override { DestroyWindow(record_.hwnd); }
    WindowRecord record_{};
};

TEST_F(WaitEventsTest, NoWaitWithAnEmptyQueueReturnsAtOnce) {
    ASSERT_TRUE(QueueIsEmpty());
    EXPECT_EQ(WaitEvents(1), 0);
    EXPECT_TRUE(LoggedEvents.empty());
}

DWORD WINAPI PostLater(void* window) {
    Sleep(200);
    for (WPARAM i = 1; i <= 3; ++i) PostMessageA(static_cast<HWND>(window), WM_USER + 1, i, 0);
    return 0;
}

TEST_F(WaitEventsTest, WaitingReturnsAfterMessagesArrivedAndTheQueueIsEmpty) {
    HANDLE thread = CreateThread(nullptr, 0, PostLater, record_.hwnd, 0, nullptr);
    // Posted from elsewhere while this thread sleeps in the pump; the loop
    // covers the rare wake-up before all three have arrived.
    while (LoggedEvents.size() < 3) EXPECT_EQ(WaitEvents(0), 0);
    EXPECT_TRUE(QueueIsEmpty());
    ASSERT_EQ(LoggedEvents.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(LoggedEvents[i].wParam, static_cast<intptr_t>(i + 1));
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

TEST_F(WaitEventsTest, ThreadMessagesAndQuitAreRemovedWithoutAHandlerCall) {
    PostThreadMessageA(GetCurrentThreadId(), WM_USER + 7, 0, 0);
    PostQuitMessage(3);
    PostMessageA(record_.hwnd, WM_USER + 2, 0, 0);
    WaitEvents(1);
    EXPECT_TRUE(QueueIsEmpty());
    EXPECT_SEQUENCE(LoggedMessages(), {{{WM_USER + 2}}});
}

TEST_F(WaitEventsTest, MessagesPostedByAHandlerAreHandledInTheSameCall) {
    record_.handler = [] {
        LoggingHandler();
        if (EventMessage == WM_USER + 1) PostMessageA(EventWindow->hwnd, WM_USER + 2, 0, 0);
        return 0;
    };
    PostMessageA(record_.hwnd, WM_USER + 1, 0, 0);
    WaitEvents(1);
    EXPECT_SEQUENCE(LoggedMessages(), {{{WM_USER + 1}}, {{WM_USER + 2}}});
}

// A key the accelerator table turns into a command is finished: neither the
// window's handler nor a focused edit box sees the key itself.
TEST_F(WaitEventsTest, AnAcceleratorKeyBecomesOnlyAMenuEvent) {
    const ACCEL accels[] = {{FVIRTKEY, VK_F5, 1234}, {FVIRTKEY, 'A', 1235}};
    HACCEL table = CreateAcceleratorTableA(const_cast<ACCEL*>(accels), 2);
    SetPropA(record_.hwnd, RT_PROP_ACCELERATORS, table);
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, record_.hwnd, nullptr,
                                nullptr, nullptr);
    struct Row {
        HWND target;
        WPARAM key;
        int32_t menuId;
    };
    const Row rows[] = {{record_.hwnd, VK_F5, 1234}, {record_.hwnd, 'A', 1235}, {edit, 'A', 1235}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "key " << row.key << (row.target == edit ? " to the edit" : ""));
        LoggedEvents.clear();
        PostMessageA(row.target, WM_KEYDOWN, row.key, 0x001E0001);
        WaitEvents(1);
        EXPECT_SEQUENCE(LoggedMessages(), {{{EVENT_MENU}}});
        const int32_t menuId = LoggedEvents.empty() ? 0 : LoggedEvents[0].menuId;
        EXPECT_EQ(menuId, row.menuId);
        char text[8] = "?";
        GetWindowTextA(edit, text, sizeof(text));
        EXPECT_STREQ(text, "");
    }
    // Other keys are typed as usual.
    PostMessageA(edit, WM_KEYDOWN, 'Q', 0x00100001);
    WaitEvents(1);
    char text[8] = "?";
    GetWindowTextA(edit, text, sizeof(text));
    EXPECT_STREQ(text, "q");
    RemovePropA(record_.hwnd, RT_PROP_ACCELERATORS);
    DestroyAcceleratorTable(table);
}

// The key filter sees WM_KEYDOWN of the record's window and its descendants,
// never WM_CHAR.
std::vector<UINT> filtered;
int32_t filterResult;
int32_t KeyFilter(HWND, MSG* message) {
    filtered.push_back(message->message);
    return filterResult;
}

TEST_F(WaitEventsTest, KeyFilterDecidesWhetherAKeyIsDispatched) {
    WindowHooks hooks{0, KeyFilter, nullptr};
    record_.hooks = &hooks;
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, record_.hwnd, nullptr,
                                nullptr, nullptr);
    SetFocus(edit);
    char text[16];
    for (int32_t result : {1, 0}) {
        filtered.clear();
        filterResult = result;
        SetWindowTextA(edit, "");
        PostMessageA(edit, WM_KEYDOWN, 'A', 0x001E0001);
        WaitEvents(1);
        GetWindowTextA(edit, text, sizeof(text));
        // Consumed: no translation, so no character typed.
        EXPECT_STREQ(text, result ? "" : "a") << "filter result " << result;
        // The WM_CHAR produced by translation never reaches the filter.
        EXPECT_EQ(filtered, std::vector<UINT>{WM_KEYDOWN});
    }
    filtered.clear();
    PostMessageA(edit, WM_CHAR, 'b', 0x001E0001);
    WaitEvents(1);
    EXPECT_TRUE(filtered.empty());
    record_.hooks = nullptr;
}

// A dialog of the runtime's dialog class, built by hand: Tab and Enter must
// work through the pump.
INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* record = reinterpret_cast<WindowRecord*>(lParam);
        record->hwnd = dialog;
        SetPropA(dialog, RT_PROP_DIALOG_RECORD, record);
        const DWORD editStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER;
        CreateWindowExA(0, "EDIT", "", editStyle, 10, 10, 100, 20, dialog, reinterpret_cast<HMENU>(10),
                        nullptr, nullptr);
        CreateWindowExA(0, "EDIT", "", editStyle, 10, 40, 100, 20, dialog, reinterpret_cast<HMENU>(11),
                        nullptr, nullptr);
        CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 10, 70, 60,
                        20, dialog, reinterpret_cast<HMENU>(IDOK), nullptr, nullptr);
        SetFocus(GetDlgItem(dialog, 10));
        return FALSE;
    }
    WindowRecord* record = static_cast<WindowRecord*>(GetPropA(dialog, RT_PROP_DIALOG_RECORD));
    if (record && message == WM_COMMAND) DispatchEvent(record, message, wParam, lParam);
    if (message == WM_DESTROY) RemovePropA(dialog, RT_PROP_DIALOG_RECORD);
    return FALSE;
}

HWND CreateTestDialog(WindowRecord* record) {
    RegisterDialogClass();
    // DLGTEMPLATE, no menu, the class by name, an empty title.
    alignas(4) BYTE buffer[128] = {};
    auto* dialogTemplate = reinterpret_cast<DLGTEMPLATE*>(buffer);
    dialogTemplate->style = WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME;
    dialogTemplate->cx = 150;
    dialogTemplate->cy = 80;
    auto* words = reinterpret_cast<WCHAR*>(buffer + sizeof(DLGTEMPLATE));
    *words++ = 0;  // menu
    for (const char* c = "CorvantisDlgClass"; *c; ++c) *words++ = static_cast<WCHAR>(*c);
    *words++ = 0;
    *words++ = 0;  // title
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dialogTemplate, nullptr, TestDialogProc,
                                      reinterpret_cast<LPARAM>(record));
}

TEST(WaitEventsDialog, TabMovesFocusAndEnterPressesTheDefaultButton) {
    WindowRecord dialog{};
    dialog.isDialog = 1;
    dialog.handler = LoggingHandler;
    LoggedEvents.clear();
    ASSERT_NE(CreateTestDialog(&dialog), nullptr);
    SetForegroundWindow(dialog.hwnd);
    HWND first = GetDlgItem(dialog.hwnd, 10);
    HWND second = GetDlgItem(dialog.hwnd, 11);
    SetFocus(first);
    WaitEvents(1);

    PostMessageA(first, WM_KEYDOWN, VK_TAB, 0x000F0001);
    WaitEvents(1);
    EXPECT_EQ(GetFocus(), second);
    // The Tab is consumed by the dialog manager, not typed into the edit.
    char text[8];
    GetWindowTextA(first, text, sizeof(text));
    EXPECT_STREQ(text, "");

    LoggedEvents.clear();
    PostMessageA(second, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    WaitEvents(1);
    bool pressed = false;
    for (const EventSnapshot& e : LoggedEvents) {
        pressed |= e.message == EVENT_CONTROL && e.controlId == IDOK && e.notifyCode == BN_CLICKED;
    }
    EXPECT_TRUE(pressed);
    DestroyWindow(dialog.hwnd);
}

// A dialog defined and shown the way a program does it: an edit box (10) and
// a default push button.
class RuntimeDialogTest : public testing::Test {
protected:
    void SetUp() override {
        LoggedEvents.clear();
        DialogCreate(&dialog_, 10, 10, 240, 120, WS_CAPTION, nullptr, "keys", LoggingHandler);
        ControlAdd(&dialog_, CONTROL_EDIT, "", 10, 10, 150, 22, WS_TABSTOP, 10);
        ControlAdd(&dialog_, CONTROL_PUSH_BUTTON, "OK", 10, 50, 70, 24, WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK);
        ASSERT_NE(DialogShow(&dialog_, nullptr), nullptr);
        SetForegroundWindow(dialog_.hwnd);
        edit_ = GetDlgItem(dialog_.hwnd, 10);
        SetFocus(edit_);
        WaitEvents(1);
        LoggedEvents.clear();
    }
    void TearDown() override {
        if (dialog_.hwnd) DestroyWindow(dialog_.hwnd);
        ResetRuntimeGlobals();
    }
    std::string EditText() const {
        char text[32] = "?";
        GetWindowTextA(edit_, text, sizeof(text));
        return text;
    }
    std::string Type(UINT message, WPARAM key, LPARAM keyData) {
        SetWindowTextA(edit_, "");
        PostMessageA(edit_, message, key, keyData);
        WaitEvents(1);
        return EditText();
    }
    WindowRecord dialog_{};
    HWND edit_ = nullptr;
};

// A key the dialog manager handled is finished, accelerator table or not.
TEST_F(RuntimeDialogTest, EachKeyReachesTheEditBoxOnce) {
    ACCEL accel{FVIRTKEY, VK_F5, 1234};
    HACCEL table = CreateAcceleratorTableA(&accel, 1);
    for (HACCEL present : {static_cast<HACCEL>(nullptr), table}) {
        SCOPED_TRACE(present ? "with an accelerator table" : "without an accelerator table");
        if (present) SetPropA(dialog_.hwnd, RT_PROP_ACCELERATORS, present);
        EXPECT_EQ(Type(WM_CHAR, 'a', 0x001E0001), "a");
        EXPECT_EQ(Type(WM_KEYDOWN, 'B', 0x00300001), "b");
    }
    LoggedEvents.clear();
    PostMessageA(edit_, WM_KEYDOWN, VK_F5, 0x003F0001);
    WaitEvents(1);
    int menus = 0;
    for (const EventSnapshot& e : LoggedEvents) menus += e.message == EVENT_MENU && e.menuId == 1234;
    EXPECT_EQ(menus, 1);
    RemovePropA(dialog_.hwnd, RT_PROP_ACCELERATORS);
    DestroyAcceleratorTable(table);
}

// The key filter sees a dialog's keys before the dialog manager does.
TEST_F(RuntimeDialogTest, AKeyFilterStopsKeysOfADialog) {
    WindowHooks hooks{0, KeyFilter, nullptr};
    dialog_.hooks = &hooks;
    filterResult = 1;
    filtered.clear();
    EXPECT_EQ(Type(WM_KEYDOWN, 'A', 0x001E0001), "");
    PostMessageA(edit_, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    WaitEvents(1);
    for (const EventSnapshot& e : LoggedEvents) {
        EXPECT_FALSE(e.message == EVENT_CONTROL && e.controlId == IDOK) << "Enter pressed the default button";
    }
    EXPECT_EQ(filtered, (std::vector<UINT>{WM_KEYDOWN, WM_KEYDOWN}));
    filterResult = 0;
    EXPECT_EQ(Type(WM_KEYDOWN, 'A', 0x001E0001), "a");
    dialog_.hooks = nullptr;
}

// An active control-parent pop-up with two edit boxes, the first focused.
struct ControlParentPopup {
    explicit ControlParentPopup(HWND owner) {
        popup = CreateWindowExA(WS_EX_CONTROLPARENT, "STATIC", "", WS_POPUP | WS_VISIBLE, 300, 300, 200, 100, owner,
                                nullptr, nullptr, nullptr);
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER;
        first = CreateWindowExA(0, "EDIT", "", style, 0, 0, 90, 20, popup, nullptr, nullptr, nullptr);
        second = CreateWindowExA(0, "EDIT", "", style, 0, 30, 90, 20, popup, nullptr, nullptr, nullptr);
        SetActiveWindow(popup);
        SetFocus(first);
    }
    ~ControlParentPopup() { DestroyWindow(popup); }
    bool TabMovesTheFocus() const {
        PostMessageA(first, WM_KEYDOWN, VK_TAB, 0x000F0001);
        WaitEvents(1);
        return GetFocus() == second;
    }
    HWND popup, first, second;
};

// A pop-up is judged by its own class, not its owner's: a control-parent
// pop-up that a runtime dialog owns gets the dialog manager's Tab.
TEST_F(RuntimeDialogTest, TabMovesTheFocusInAPopupTheDialogOwns) {
    ControlParentPopup owned(dialog_.hwnd);
    ASSERT_EQ(GetActiveWindow(), owned.popup);
    EXPECT_TRUE(owned.TabMovesTheFocus());
}

// Without a record the active window gets the dialog manager only when it
// is a control parent.
TEST(WaitEventsNoRecord, ActiveControlParentGetsDialogNavigation) {
    ControlParentPopup active(nullptr);
    ASSERT_EQ(GetActiveWindow(), active.popup);
    EXPECT_TRUE(active.TabMovesTheFocus());

    // No control parent: the key is translated and dispatched to the edit.
    SetWindowLongA(active.popup, GWL_EXSTYLE, 0);
    PostMessageA(active.second, WM_KEYDOWN, 'Q', 0x00100001);
    WaitEvents(1);
    char text[8];
    GetWindowTextA(active.second, text, sizeof(text));
    EXPECT_STREQ(text, "q");
}

}  // namespace
