// Showing defined dialogs, modeless and modal, and what the dialog procedure
// does with their messages.
#include <gtest/gtest.h>

#include <vector>

#include "event_log.h"
#include "gdi_ledger.h"
#include "pixels.h"
#include "rt_controls_internal.h"
#include "rt_dialogs_internal.h"
#include "rt_events.h"
#include "rt_core.h"
#include "rt_winutil_internal.h"
#include "test_support.h"

namespace {

WindowRecord dialog;
// What the handler observed, message by message.
struct Seen {
    int32_t message;
    bool hasWindow;
    bool hasProperty;
    bool operator==(const Seen& o) const {
        return message == o.message && hasWindow == o.hasWindow && hasProperty == o.hasProperty;
    }
};
std::string Describe(const Seen& s) {
    return testing::PrintToString(s.message) + (s.hasWindow ? " window" : " -") + (s.hasProperty ? " prop" : " -");
}
std::vector<Seen> seen;
std::vector<int32_t> interesting;
// Run by the handler for one message, to act from inside the dialog's life.
int32_t (*reaction)() = nullptr;

std::vector<std::pair<int32_t, int32_t>> controlEvents;  // identifier, notification

int32_t RecordingHandler() {
    if (EventMessage == EVENT_CONTROL) controlEvents.emplace_back(EventControlId, EventNotifyCode);
    for (int32_t m : interesting) {
        if (m == EventMessage) {
            HWND window = EventWindow->hwnd;
            seen.push_back({EventMessage, window != nullptr,
                            window && GetPropA(window, RT_PROP_DIALOG_RECORD) == EventWindow});
        }
    }
    return reaction ? reaction() : 0;
}

class DialogShowTest : public testing::Test {
protected:
    void SetUp() override {
        seen.clear();
        reaction = nullptr;
        // Control notifications (focus changes of the edits and so on) are
        // the platform's business; the default-button test looks at them.
        interesting = {WM_INITDIALOG, EVENT_CLOSE, WM_DESTROY, EVENT_SIZE, WM_SIZE};
        dialog = WindowRecord{};
        DialogCreate(&dialog, 0, 30, 300, 150, WS_CAPTION | WS_SYSMENU, nullptr, "Test dialog", RecordingHandler);
        ControlAdd(&dialog, CONTROL_EDIT, "", 10, 10, 150, 22, WS_TABSTOP, 10);
        ControlAdd(&dialog, CONTROL_EDIT, "", 10, 40, 150, 22, WS_TABSTOP, 11);
        ControlAdd(&dialog, CONTROL_PUSH_BUTTON, "OK", 200, 100, 70, 24, WS_TABSTOP, 3);
    }
    void TearDown() override {
        if (dialog.hwnd) DestroyWindow(dialog.hwnd);
        ResetRuntimeGlobals();
    }
};

TEST_F(DialogShowTest, ModelessDialogLivesFromInitToDestroy) {
    HWND window = DialogShow(&dialog, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(dialog.hwnd, window);
    EXPECT_EQ(dialog.definition->modeless, 1);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(CreatingDialog, nullptr);
    // The handler saw WM_INITDIALOG inside DialogShow, bound and attached.
    EXPECT_SEQUENCE(seen, {{{WM_INITDIALOG, true, true}}});
    // The dialog manager's own bytes hold nothing of the runtime's.
    EXPECT_EQ(GetWindowLongPtrA(window, DWLP_USER), 0);
    EXPECT_EQ(GetWindowLongPtrA(window, DWLP_MSGRESULT), 0);
    EXPECT_EQ(GetWindowLongPtrA(GetDlgItem(window, 10), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(GenericControlProc));
    EXPECT_EQ(GetWindowLongPtrA(GetDlgItem(window, 3), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(PushButtonProc));
    char title[32];
    GetWindowTextA(window, title, sizeof(title));
    EXPECT_STREQ(title, "Test dialog");

    // The close box: EVENT_CLOSE, and the dialog stays until the handler acts.
    seen.clear();
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_SEQUENCE(seen, {{{EVENT_CLOSE, true, true}}});

    // A size change: EVENT_SIZE right before the message itself.
    seen.clear();
    SetWindowPos(window, nullptr, 0, 0, 320, 170, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_SEQUENCE(seen, {{{EVENT_SIZE, true, true}}, {{WM_SIZE, true, true}}});

    // Destroyed: the handler sees WM_DESTROY with the window but without the
    // property; afterwards the record has no window.
    seen.clear();
    DestroyWindow(window);
    EXPECT_SEQUENCE(seen, {{{WM_DESTROY, true, false}}});
    EXPECT_EQ(dialog.hwnd, nullptr);

    // The definition can be shown again; where its handler puts it, it stays
    // (in this rectangle the units alone would leave it a pixel off).
    seen.clear();
    DialogCreate(&dialog, 0, 30, 330, 120, WS_CAPTION | WS_SYSMENU, nullptr, "Test dialog", RecordingHandler);
    reaction = [] {
        if (EventMessage == WM_INITDIALOG) SetWindowPos(EventWindow->hwnd, nullptr, 200, 150, 0, 0, SWP_NOSIZE);
        return 0;
    };
    ASSERT_NE(DialogShow(&dialog, nullptr), nullptr);
    EXPECT_SEQUENCE(seen, {{{WM_INITDIALOG, true, true}}});
    RECT placed;
    GetWindowRect(dialog.hwnd, &placed);
    EXPECT_EQ(placed.left, 200);
    EXPECT_EQ(placed.top, 150);
}

TEST_F(DialogShowTest, ModalCloseBoxEndsWithTwo) {
    reaction = [] {
        if (EventMessage == WM_INITDIALOG) PostMessageA(EventWindow->hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    };
    EXPECT_EQ(DialogDoModal(&dialog, nullptr), 2);
    EXPECT_EQ(dialog.definition->modeless, 0);
    EXPECT_EQ(dialog.hwnd, nullptr);
    EXPECT_SEQUENCE(seen, {{{WM_INITDIALOG, true, true}}, {{EVENT_CLOSE, true, true}}, {{WM_DESTROY, true, false}}});
}

TEST_F(DialogShowTest, DialogCloseEndsAModalDialogWithItsResult) {
    static bool windowGoneAtOnce;
    reaction = [] {
        if (EventMessage == WM_INITDIALOG) PostMessageA(EventWindow->hwnd, WM_USER + 1, 0, 0);
        if (EventMessage == WM_USER + 1) {
            DialogClose(&dialog, 7);
            windowGoneAtOnce = dialog.hwnd == nullptr;
            DialogClose(&dialog, 8);  // already closed: nothing
        }
        return 0;
    };
    EXPECT_EQ(DialogDoModal(&dialog, nullptr), 7);
    EXPECT_TRUE(windowGoneAtOnce);

    // Closed and shown again from its own handler: the old window's end
    // leaves the record bound to the new one.
    static HWND shownAgain;
    reaction = [] {
        if (EventMessage == WM_INITDIALOG && !shownAgain) PostMessageA(EventWindow->hwnd, WM_USER + 1, 0, 0);
        if (EventMessage == WM_USER + 1) {
            DialogClose(&dialog, 3);
            shownAgain = DialogShow(&dialog, nullptr);
        }
        return 0;
    };
    EXPECT_EQ(DialogDoModal(&dialog, nullptr), 3);
    ASSERT_NE(shownAgain, nullptr);
    EXPECT_EQ(dialog.hwnd, shownAgain);
    DialogClose(&dialog, 0);
    EXPECT_FALSE(IsWindow(shownAgain));
}

TEST_F(DialogShowTest, DialogCloseDestroysAModelessDialogAtOnce) {
    HWND window = DialogShow(&dialog, nullptr);
    DialogClose(&dialog, 1);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(dialog.hwnd, nullptr);
    DialogClose(&dialog, 1);
    // A window's record is not a dialog: its window stays.
    WindowRecord notADialog{};
    notADialog.hwnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DialogClose(&notADialog, 1);
    EXPECT_TRUE(IsWindow(notADialog.hwnd));
    EXPECT_EQ(DialogClose(&notADialog, 1), 0);
    DestroyWindow(notADialog.hwnd);
}

// One dialog window per record: showing or defining it again while it is
// shown is refused and leaves the shown dialog as it was, still closable.
TEST_F(DialogShowTest, ShowingOrDefiningAShownDialogAgainIsRefused) {
    HWND first = DialogShow(&dialog, nullptr);
    ASSERT_NE(first, nullptr);
    const DialogDefinition* definition = dialog.definition;
    const ControlDefinition* controls = definition->controls;
    EXPECT_EQ(DialogShow(&dialog, nullptr), nullptr);
    EXPECT_EQ(DialogDoModal(&dialog, nullptr), -1);
    EXPECT_EQ(DialogCreate(&dialog, 0, 0, 100, 100, 0, nullptr, "again", RecordingHandler), 0);
    EXPECT_EQ(dialog.hwnd, first);
    EXPECT_EQ(dialog.definition, definition);
    EXPECT_EQ(dialog.definition->controls, controls);
    char title[32];
    GetWindowTextA(first, title, sizeof(title));
    EXPECT_STREQ(title, "Test dialog");
    EXPECT_EQ(FindWindowExA(nullptr, first, "CorvantisDlgClass", nullptr), nullptr) << "a second dialog window";
    DialogClose(&dialog, 1);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(FindWindowA("CorvantisDlgClass", nullptr), nullptr);
    // Closed, it can be shown and defined again.
    ASSERT_NE(DialogShow(&dialog, nullptr), nullptr);
    DialogClose(&dialog, 1);
    EXPECT_EQ(DialogCreate(&dialog, 0, 0, 100, 100, 0, nullptr, "again", RecordingHandler), 1);
}

// A dialog its own WM_INITDIALOG handler closes was never shown for the
// caller: no window returned, none in the record.
TEST_F(DialogShowTest, ADialogClosedWhileStartingReturnsNoWindow) {
    reaction = [] {
        if (EventMessage == WM_INITDIALOG) DialogClose(&dialog, 1);
        return 0;
    };
    EXPECT_EQ(DialogShow(&dialog, nullptr), nullptr);
    EXPECT_EQ(dialog.hwnd, nullptr);
    EXPECT_EQ(FindWindowA("CorvantisDlgClass", nullptr), nullptr);
}

// Attaching the controls again (a second set-up) changes nothing: keys and
// clicks still arrive once, and closing releases every object.
TEST_F(DialogShowTest, SettingUpTheControlsAgainChangesNothing) {
    GdiLedger ledger;
    ASSERT_TRUE(ledger.Installed());
    ASSERT_NE(DialogShow(&dialog, nullptr), nullptr);
    const size_t live = ledger.Live();
    DialogControlsSetup(&dialog);
    DialogControlsSetup(&dialog);
    EXPECT_EQ(ledger.Live(), live);
    HWND edit = GetDlgItem(dialog.hwnd, 10);
    PostMessageA(edit, WM_CHAR, 'z', 0x002C0001);
    WaitEvents(1);
    char text[8] = "?";
    GetWindowTextA(edit, text, sizeof(text));
    EXPECT_STREQ(text, "z");
    controlEvents.clear();
    SendDlgItemMessageA(dialog.hwnd, 3, BM_CLICK, 0, 0);
    int clicks = 0;
    for (const auto& e : controlEvents) clicks += e.first == 3 && e.second == BN_CLICKED;
    EXPECT_EQ(clicks, 1);
    DialogClose(&dialog, 1);
    EXPECT_EQ(ledger.Live(), 0u);
    EXPECT_EQ(ledger.ForeignDeletions(), 0u);
}

// Fonts: the dialog's own font is the dialog manager's, a font the program
// gives a control stays the program's; what the runtime makes goes with the
// dialog, showing after showing. (A thousand cycles of a window with its
// controls are counted in the window tests; a dialog's showing costs many
// times more under emulation, so fewer here.)
TEST_F(DialogShowTest, FontsAndObjectsOverManyShowings) {
    GdiLedger ledger;
    ASSERT_TRUE(ledger.Installed());
    LOGFONTA description{};
    description.lfHeight = 14;
    lstrcpyA(description.lfFaceName, "MS Sans Serif");
    HFONT programFont = CreateFontIndirectA(&description);
    for (int i = 0; i < Cycles(250); ++i) {
        ASSERT_NE(DialogShow(&dialog, nullptr), nullptr) << "showing " << i;
        SendDlgItemMessageA(dialog.hwnd, 11, WM_SETFONT, reinterpret_cast<WPARAM>(programFont), FALSE);
        SendDlgItemMessageA(dialog.hwnd, 3, WM_SETFONT, reinterpret_cast<WPARAM>(programFont), FALSE);
        DialogClose(&dialog, 1);
    }
    EXPECT_EQ(GetObjectType(programFont), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(ledger.ForeignDeletions(), 0u);
    DeleteObject(programFont);
    EXPECT_EQ(ledger.Live(), 0u);
}

// A program closes a dialog of thousands of controls, some sharing one
// brush, one bitmap and one font handed to them before anything was drawn:
// closing ends in time (looking at every window for each control took many
// minutes here) and what the controls own goes exactly once.
TEST_F(DialogShowTest, ClosingThousandsOfControlsSharingObjects) {
    GdiLedger ledger;
    ASSERT_TRUE(ledger.Installed());
    static WindowRecord many;  // listed until END
    DialogCreate(&many, 0, 0, 1000, 700, WS_CAPTION, nullptr, "Many", RecordingHandler);
    constexpr int kControls = 2000;
    const ControlType types[] = {CONTROL_PUSH_BUTTON, CONTROL_LABEL, CONTROL_EDIT};
    for (int i = 0; i < kControls; ++i) {
        ControlAdd(&many, types[i % 3], "x", i % 16 * 62, i / 16 % 30 * 22, 60, 20, 0, 100 + i);
    }
    ASSERT_NE(DialogShow(&many, nullptr), nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, nullptr);
    LOGFONTA description{};
    description.lfHeight = 14;
    HFONT font = CreateFontIndirectA(&description);
    for (int i = 0; i < kControls; i += 5) {
        HWND control = GetDlgItem(many.hwnd, 100 + i);
        HGDIOBJ own = GetPropA(control, RT_PROP_BACK_BRUSH);
        SetPropA(control, RT_PROP_BACK_BRUSH, brush);
        DeleteObject(own);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (types[i % 3] == CONTROL_PUSH_BUTTON) {
            SendMessageA(control, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
        }
    }
    const DWORD start = GetTickCount();
    DialogClose(&many, 0);
    EXPECT_LT(GetTickCount() - start, 60000u) << "closing cost more than in proportion to the controls";
    EXPECT_EQ(many.hwnd, nullptr);
    EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT)) << "a font stays the program's";
    DeleteObject(font);
    EXPECT_EQ(ledger.Live(), 0u);
    EXPECT_EQ(ledger.ForeignDeletions(), 0u);
}

// Enter presses the push button that has the focus, and the default button
// when the focus is elsewhere; the default frame goes with it. Every push
// button type must do what the system's own does.
TEST_F(DialogShowTest, EnterPressesTheFocusedPushButtonElseTheDefaultOfEachType) {
    static WindowRecord records[3];  // listed: they live as long as the list
    int used = 0;
    for (ControlType type : {CONTROL_SYSTEM_BUTTON, CONTROL_PUSH_BUTTON, CONTROL_HOT_BUTTON}) {
        SCOPED_TRACE(type);
        WindowRecord& record = records[used++];
        DialogCreate(&record, 0, 0, 300, 150, WS_CAPTION, nullptr, "d", RecordingHandler);
        ControlAdd(&record, CONTROL_EDIT, "", 10, 10, 150, 22, WS_TABSTOP, 10);
        ControlAdd(&record, type, "Go", 120, 100, 70, 24, WS_TABSTOP | BS_DEFPUSHBUTTON, 5);
        ControlAdd(&record, type, "Other", 200, 100, 70, 24, WS_TABSTOP, 6);
        ASSERT_NE(DialogShow(&record, nullptr), nullptr);
        EXPECT_EQ(LOWORD(SendMessageA(record.hwnd, DM_GETDEFID, 0, 0)), 5);
        SetFocus(GetDlgItem(record.hwnd, 10));
        // Tab by tab from the edit: the edit, "Go", "Other", the edit again.
        const struct {
            int32_t pressed;
            int32_t framed;
        } steps[] = {{5, 5}, {5, 5}, {6, 6}, {5, 5}};
        for (size_t step = 0; step < 4; ++step) {
            SCOPED_TRACE(step);
            HWND focus = GetFocus();
            if (step > 0) {
                PostMessageA(focus, WM_KEYDOWN, VK_TAB, 0x000F0001);
                WaitEvents(1);
                focus = GetFocus();
            }
            SavePng(CaptureClient(record.hwnd), "enter_" + std::to_string(type) + "_step" + std::to_string(step));
            for (int32_t id : {5, 6}) {
                // The mark the dialog manager reads and moves, and for the
                // runtime's own drawing the outline on the item rectangle.
                HWND button = GetDlgItem(record.hwnd, id);
                const bool marked = (SendMessageA(button, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0;
                EXPECT_EQ(marked, id == steps[step].framed) << "the default mark on " << id;
                if (type == CONTROL_SYSTEM_BUTTON) continue;
                UpdateWindow(button);
                EXPECT_EQ(CaptureClient(button).At(0, 0) == RGB(0, 0, 0), id == steps[step].framed)
                    << "the default frame on " << id;
            }
            controlEvents.clear();
            PostMessageA(focus, WM_KEYDOWN, VK_RETURN, 0x001C0001);
            WaitEvents(1);
            std::vector<int32_t> clicked;
            for (const auto& e : controlEvents) {
                if (e.second == BN_CLICKED) clicked.push_back(e.first);
            }
            EXPECT_EQ(clicked, std::vector<int32_t>{steps[step].pressed});
        }
        EXPECT_EQ(EventControlId, 0) << "variables restored after dispatch";
        DestroyWindow(record.hwnd);
    }
}

TEST_F(DialogShowTest, TabMovesBetweenTabStopsThroughThePump) {
    ASSERT_NE(DialogShow(&dialog, nullptr), nullptr);
    HWND first = GetDlgItem(dialog.hwnd, 10);
    HWND second = GetDlgItem(dialog.hwnd, 11);
    SetFocus(first);
    PostMessageA(first, WM_KEYDOWN, VK_TAB, 0x000F0001);
    WaitEvents(1);
    EXPECT_EQ(GetFocus(), second);
}

TEST_F(DialogShowTest, ColourAndDrawRequestsAreReflectedToTheControls) {
    ASSERT_NE(DialogShow(&dialog, nullptr), nullptr);
    HWND edit = GetDlgItem(dialog.hwnd, 10);
    HDC dc = GetDC(edit);
    EXPECT_EQ(SendMessageA(dialog.hwnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit)),
              reinterpret_cast<LRESULT>(GetPropA(edit, RT_PROP_BACK_BRUSH)));
    // Without a control to ask, the dialog procedure leaves it to the dialog manager.
    EXPECT_EQ(DialogProc(dialog.hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), 0), 0);
    ReleaseDC(edit, dc);

    // The owner-drawn button paints through the dialog: face and caption in
    // the colours of its properties.
    HWND button = GetDlgItem(dialog.hwnd, 3);
    const Pixels p = CaptureClient(button);
    SavePng(p, "dialog_owner_drawn_button");
    EXPECT_EQ(DescribeColour(p.At(4, 4)), DescribeColour(GetSysColor(COLOR_BTNFACE)));
    EXPECT_GT(p.Count(GetSysColor(COLOR_BTNTEXT), RECT{3, 3, p.width - 3, p.height - 3}), 5);
    DestroyWindow(dialog.hwnd);

    // Every control the dialog holds is attached: labels sharing -1, and a
    // button whose identifier the template kept in 16 bits.
    ControlAdd(&dialog, CONTROL_LABEL, "first", 10, 70, 60, 20, 0, -1);
    ControlAdd(&dialog, CONTROL_LABEL, "second", 80, 70, 60, 20, 0, -1);
    ControlAdd(&dialog, CONTROL_PUSH_BUTTON, "far", 10, 100, 60, 24, 0, 70000);
    ASSERT_NE(DialogShow(&dialog, nullptr), nullptr);
    int attached = 0;
    for (HWND child = GetWindow(dialog.hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        attached += GetPropA(child, RT_PROP_PREVIOUS_PROC) != nullptr;
    }
    EXPECT_EQ(attached, 6);
}

TEST_F(DialogShowTest, CursorOverTheDialogIsTheRecordsCursor) {
    ASSERT_NE(DialogShow(&dialog, nullptr), nullptr);
    HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    dialog.cursor = cross;
    SetCursor(arrow);
    SendMessageA(dialog.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(GetDlgItem(dialog.hwnd, 10)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(GetCursor(), cross);
    SendMessageA(dialog.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(dialog.hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), cross);
}

TEST_F(DialogShowTest, FailedCreationLeavesNothingBehind) {
    ControlAddByClass(&dialog, "NoSuchClassAnywhere", "", 0, 0, 10, 10, 0, 0, 50);
    EXPECT_EQ(DialogShow(&dialog, nullptr), nullptr);
    EXPECT_EQ(CreatingDialog, nullptr);
    EXPECT_EQ(dialog.hwnd, nullptr);
    EXPECT_EQ(dialog.definition->modeless, 0);
    EXPECT_EQ(DialogDoModal(&dialog, nullptr), -1);
    EXPECT_EQ(CreatingDialog, nullptr);
    EXPECT_TRUE(seen.empty());

    WindowRecord undefined{};
    EXPECT_EQ(DialogShow(&undefined, nullptr), nullptr);
    EXPECT_EQ(DialogDoModal(&undefined, nullptr), 0);
}

TEST_F(DialogShowTest, OwnerComesFromTheArgumentOrTheDefinition) {
    WindowRecord owner{};
    owner.hwnd = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(DialogShow(&dialog, &owner), nullptr);
    EXPECT_EQ(GetWindow(dialog.hwnd, GW_OWNER), owner.hwnd);
    DestroyWindow(dialog.hwnd);
    ASSERT_NE(DialogShow(&dialog, nullptr), nullptr);
    EXPECT_EQ(GetWindow(dialog.hwnd, GW_OWNER), nullptr);
    DestroyWindow(dialog.hwnd);
    DestroyWindow(owner.hwnd);
    // An owner whose window has gone counts as none.
    ASSERT_NE(DialogShow(&dialog, &owner), nullptr);
    EXPECT_EQ(GetWindow(dialog.hwnd, GW_OWNER), nullptr);
    DestroyWindow(dialog.hwnd);
}

}  // namespace
