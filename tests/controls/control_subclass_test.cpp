// Attaching controls: colour properties per type, the subclass procedures'
// colour answers, Tab/Enter notifications, SendWindowMessage, the clean-up at
// WM_DESTROY and ownership of GDI objects.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "event_log.h"
#include "gdi_ledger.h"
#include "pixels.h"
#include "reflecting_parent.h"
#include "rt_controls_internal.h"
#include "test_support.h"

namespace {

uintptr_t PropertyValue(HWND window, const char* name) {
    return reinterpret_cast<uintptr_t>(GetPropA(window, name));
}

struct TypeRow {
    int32_t type;
    const char* className;
    DWORD style;
    WNDPROC procedure;
    int background;
};

const TypeRow kTypes[] = {
    {CONTROL_PUSH_BUTTON, "BUTTON", BS_OWNERDRAW, PushButtonProc, COLOR_BTNFACE},
    {CONTROL_CHECK_BOX, "BUTTON", BS_AUTOCHECKBOX, GenericControlProc, COLOR_BTNFACE},
    {CONTROL_RADIO_BUTTON, "BUTTON", BS_AUTORADIOBUTTON, GenericControlProc, COLOR_BTNFACE},
    {CONTROL_EDIT, "EDIT", WS_BORDER, GenericControlProc, COLOR_WINDOW},
    {CONTROL_LIST_BOX, "LISTBOX", WS_BORDER, GenericControlProc, COLOR_WINDOW},
    {CONTROL_COMBO_BOX, "COMBOBOX", CBS_DROPDOWN, GenericControlProc, COLOR_WINDOW},
    {CONTROL_LABEL, "STATIC", SS_SIMPLE, StaticControlProc, COLOR_BTNFACE},
    {CONTROL_SCROLL_BAR, "SCROLLBAR", SBS_HORZ, GenericControlProc, COLOR_SCROLLBAR},
    {CONTROL_GROUP_BOX, "BUTTON", BS_GROUPBOX, GenericControlProc, COLOR_BTNFACE},
    {CONTROL_STATUS_BAR, "STATIC", 0, GenericControlProc, COLOR_WINDOW},
    {CONTROL_SYSTEM_BUTTON, "BUTTON", BS_PUSHBUTTON, GenericControlProc, COLOR_BTNFACE},
    {CONTROL_HOT_BUTTON, "BUTTON", BS_OWNERDRAW, HotButtonProc, COLOR_BTNFACE},
    {CONTROL_BY_CLASS, "EDIT", 0, GenericControlProc, COLOR_WINDOW},
};

TEST(ControlSubclass, EachTypeGetsItsProcedureAndColours) {
    ReflectingParent parent;
    for (const TypeRow& row : kTypes) {
        SCOPED_TRACE(row.type);
        HWND control = parent.AddChild(row.className, "x", row.style, 10, 10, 80, 20, 7);
        const LONG_PTR before = GetWindowLongPtrA(control, GWLP_WNDPROC);
        EXPECT_EQ(ControlSubclass(control, row.type), 0);
        // Attached once: further attaches change nothing.
        EXPECT_EQ(ControlSubclass(control, row.type), 0);
        EXPECT_EQ(ControlSubclass(control, CONTROL_HOT_BUTTON), 0);
        // Passed on to the original procedure once, not round and round.
        EXPECT_EQ(SendMessageA(control, WM_GETTEXTLENGTH, 0, 0),
                  CallWindowProcA(reinterpret_cast<WNDPROC>(before), control, WM_GETTEXTLENGTH, 0, 0));
        EXPECT_EQ(GetWindowLongPtrA(control, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(row.procedure));
        EXPECT_EQ(PropertyValue(control, RT_PROP_PREVIOUS_PROC), static_cast<uintptr_t>(before));
        EXPECT_EQ(PropertyValue(control, RT_PROP_TEXT_COLOUR), GetSysColor(COLOR_BTNTEXT));
        EXPECT_EQ(PropertyValue(control, RT_PROP_BACK_COLOUR), GetSysColor(row.background));
        HGDIOBJ brush = GetPropA(control, RT_PROP_BACK_BRUSH);
        if (row.type == CONTROL_SCROLL_BAR) {
            EXPECT_EQ(brush, nullptr);
        } else {
            ASSERT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
            LOGBRUSH info{};
            GetObjectA(brush, sizeof(info), &info);
            EXPECT_EQ(info.lbColor, GetSysColor(row.background));
        }
        const bool hot = row.type == CONTROL_HOT_BUTTON;
        EXPECT_EQ(PropertyValue(control, RT_PROP_HOT_COLOUR), hot ? GetSysColor(COLOR_BTNFACE) : 0u);
        EXPECT_EQ(PropertyValue(control, RT_PROP_BORDER_WIDTH), hot ? 1u : 0u);
        DestroyWindow(control);
    }
    EXPECT_EQ(ControlSubclass(nullptr, CONTROL_EDIT), 0);
}

TEST(ControlSubclass, ColourRequestsAreAnsweredFromTheProperties) {
    ReflectingParent parent;
    HDC dc = CreateCompatibleDC(nullptr);
    const COLORREF text = RGB(1, 2, 3);
    const COLORREF back = RGB(4, 5, 6);
    struct Row {
        int32_t type;
        const char* className;
        DWORD style;
        bool answersNullBrush;
    };
    const Row rows[] = {
        {CONTROL_EDIT, "EDIT", 0, false},
        {CONTROL_PUSH_BUTTON, "BUTTON", BS_OWNERDRAW, false},
        {CONTROL_LABEL, "STATIC", 0, false},
        {CONTROL_HOT_BUTTON, "BUTTON", BS_OWNERDRAW, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.type);
        HWND control = parent.AddChild(row.className, "", row.style, 0, 0, 50, 20, 1);
        ControlSubclass(control, row.type);
        SetPropA(control, RT_PROP_TEXT_COLOUR, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(text)));
        SetPropA(control, RT_PROP_BACK_COLOUR, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(back)));
        SetTextColor(dc, 0);
        SetBkColor(dc, 0);
        const LRESULT answer =
            SendMessageA(control, ColourRequest, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
        const HGDIOBJ expected = row.answersNullBrush ? GetStockObject(NULL_BRUSH) : GetPropA(control, RT_PROP_BACK_BRUSH);
        EXPECT_EQ(reinterpret_cast<HGDIOBJ>(answer), expected);
        EXPECT_EQ(GetTextColor(dc), text);
        EXPECT_EQ(GetBkColor(dc), back);
        DestroyWindow(control);
    }
    // A scroll bar has no brush: the platform's colours apply.
    HWND scrollBar = parent.AddChild("SCROLLBAR", "", SBS_HORZ, 0, 0, 50, 20, 1);
    ControlSubclass(scrollBar, CONTROL_SCROLL_BAR);
    EXPECT_EQ(SendMessageA(scrollBar, ColourRequest, reinterpret_cast<WPARAM>(dc), 0), 0);
    DeleteDC(dc);
}

TEST(ControlSubclass, ChangingTheColourPropertiesRecoloursAnEditBox) {
    ReflectingParent parent;
    HWND edit = parent.AddChild("EDIT", "MMMM", WS_BORDER, 10, 10, 120, 24, 4);
    ControlSubclass(edit, CONTROL_EDIT);
    const Pixels before = CaptureClient(edit);
    SavePng(before, "edit_default_colours");
    EXPECT_EQ(DescribeColour(before.At(before.width - 4, before.height / 2)), DescribeColour(GetSysColor(COLOR_WINDOW)));

    const COLORREF back = RGB(40, 60, 160);
    const COLORREF text = RGB(250, 250, 0);
    DeleteObject(RemovePropA(edit, RT_PROP_BACK_BRUSH));
    SetPropA(edit, RT_PROP_BACK_BRUSH, CreateSolidBrush(back));
    SetPropA(edit, RT_PROP_BACK_COLOUR, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(back)));
    SetPropA(edit, RT_PROP_TEXT_COLOUR, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(text)));
    InvalidateRect(edit, nullptr, TRUE);
    const Pixels after = CaptureClient(edit);
    SavePng(after, "edit_recoloured");
    EXPECT_EQ(DescribeColour(after.At(after.width - 4, after.height / 2)), DescribeColour(back));
    EXPECT_GT(after.Count(text, RECT{0, 0, after.width, after.height}), 10);
}

// Records what reaches the control's own procedure, under the subclass.
std::vector<UINT> reachedControl;
WNDPROC controlClassProc;
LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR) reachedControl.push_back(static_cast<UINT>(wParam));
    return CallWindowProcA(controlClassProc, window, message, wParam, lParam);
}

TEST(ControlSubclass, TabAndEnterNotifyTheParentOnlyWithTheirProperty) {
    struct Row {
        bool notifyTab, notifyEnter;
        std::vector<int32_t> notifications;   // seen by the handler, Tab then Enter
        std::vector<UINT> passedOn;           // characters the edit still got
    };
    const Row rows[] = {
        {false, false, {}, {'\t', '\r'}},
        {true, false, {TabNotification}, {'\r'}},
        {false, true, {EnterNotification}, {'\t'}},
        {true, true, {TabNotification, EnterNotification}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.notifyTab) + std::to_string(row.notifyEnter));
        ReflectingParent parent;
        parent.record.handler = LoggingHandler;
        LoggedEvents.clear();
        reachedControl.clear();
        HWND edit = parent.AddChild("EDIT", "", ES_MULTILINE, 0, 0, 100, 40, 12);
        controlClassProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
        ControlSubclass(edit, CONTROL_EDIT);
        if (row.notifyTab) SetPropA(edit, RT_PROP_NOTIFY_TAB, reinterpret_cast<HANDLE>(1));
        if (row.notifyEnter) SetPropA(edit, RT_PROP_NOTIFY_ENTER, reinterpret_cast<HANDLE>(1));
        const LRESULT tab = SendMessageA(edit, WM_CHAR, '\t', 0);
        const LRESULT enter = SendMessageA(edit, WM_CHAR, '\r', 0);
        if (row.notifyTab) {
            EXPECT_EQ(tab, 1);
        }
        if (row.notifyEnter) {
            EXPECT_EQ(enter, 1);
        }

        // The edit's own change notifications come through too; only the
        // runtime's two codes matter here.
        std::vector<int32_t> notifications;
        for (const EventSnapshot& e : LoggedEvents) {
            if (e.notifyCode != TabNotification && e.notifyCode != EnterNotification) continue;
            EXPECT_EQ(e.message, EVENT_CONTROL);
            EXPECT_EQ(e.controlId, 12);
            EXPECT_EQ(e.lParam, reinterpret_cast<intptr_t>(edit));
            notifications.push_back(e.notifyCode);
        }
        EXPECT_EQ(notifications, row.notifications);
        EXPECT_EQ(reachedControl, row.passedOn);
    }
}

// A window that logs the lParam of each message it receives.
std::vector<std::pair<UINT, LPARAM>> received;
LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_USER) {
        received.emplace_back(message, lParam);
        return 77;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(SendWindowMessage, ResolvesTargetsAndParameters) {
    ReflectingParent parent;
    HWND child = parent.AddChild("STATIC", "", 0, 0, 0, 10, 10, 3);
    SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ReceiverProc));
    SetWindowLongPtrA(parent.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ReceiverProc));
    HWND childVariable = child;
    const auto childAddress = reinterpret_cast<intptr_t>(&childVariable);
    LPARAM number = 1234;
    const auto numberAddress = reinterpret_cast<intptr_t>(&number);
    // A 32-bit variable beside other data: exactly its four bytes are read.
    struct {
        int32_t value = 5;
        int32_t beside = 0x7777;
    } narrow;
    const auto narrowAddress = reinterpret_cast<intptr_t>(&narrow.value);
    struct {
        int32_t handle;
        int32_t beside = 0x7777;
    } narrowHandle;
    narrowHandle.handle = static_cast<int32_t>(reinterpret_cast<intptr_t>(child));
    const auto narrowHandleAddress = reinterpret_cast<intptr_t>(&narrowHandle.handle);
    char text[] = "text";
    const auto textAddress = reinterpret_cast<intptr_t>(text);
    const auto recordAddress = reinterpret_cast<intptr_t>(&parent.record);
    const auto childValue = reinterpret_cast<intptr_t>(child);

    struct Row {
        intptr_t target;
        uint32_t targetTag;
        intptr_t lParam;
        uint32_t lParamTag;
        int32_t controlId;
        HWND expectedWindow;  // null: nothing is sent
        LPARAM expectedLParam;
    };
    const Row rows[] = {
        {childValue, TAG_HANDLE, 5, TAG_INT, 0, child, 5},
        {childValue, TAG_INT, 5, TAG_INT, 0, child, 5},
        {childAddress, TAG_BY_REFERENCE | TAG_HANDLE, 5, TAG_INT, 0, child, 5},
        {recordAddress, TAG_BY_REFERENCE | TAG_RECORD, 0, TAG_INT, 3, child, 0},
        {recordAddress, TAG_RECORD, 0, TAG_INT, 0, parent.hwnd, 0},
        // Parameters by reference: their content, except strings and records.
        {childValue, TAG_HANDLE, numberAddress, TAG_BY_REFERENCE | TAG_INT, 0, child, 1234},
        {childValue, TAG_HANDLE, narrowAddress, TAG_BY_REFERENCE | TAG_INT, 0, child, 5},
        {narrowHandleAddress, TAG_BY_REFERENCE | TAG_INT, 5, TAG_INT, 0, child, 5},
        {childValue, TAG_HANDLE, childAddress, TAG_BY_REFERENCE | TAG_HANDLE, 0, child, childValue},
        {childValue, TAG_HANDLE, textAddress, TAG_BY_REFERENCE | TAG_STRING, 0, child, textAddress},
        {childValue, TAG_HANDLE, recordAddress, TAG_BY_REFERENCE | TAG_RECORD, 0, child, recordAddress},
        // Nothing to send to.
        {childValue, TAG_STRING, 0, TAG_INT, 0, nullptr, 0},
        {childValue, 7, 0, TAG_INT, 0, nullptr, 0},
        {recordAddress, TAG_RECORD, 0, TAG_INT, 99, nullptr, 0},
        {0, TAG_HANDLE, 0, TAG_INT, 0, nullptr, 0},
        {0, TAG_BY_REFERENCE | TAG_HANDLE, 0, TAG_INT, 0, nullptr, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "tag " << std::hex << row.targetTag << " lparam tag " << row.lParamTag);
        received.clear();
        const LRESULT result = SendWindowMessage(row.target, row.targetTag, WM_USER + 1, 0, row.lParam,
                                                 row.lParamTag, row.controlId);
        if (!row.expectedWindow) {
            EXPECT_EQ(result, 0);
            EXPECT_TRUE(received.empty());
            continue;
        }
        EXPECT_EQ(result, 77);
        ASSERT_EQ(received.size(), 1u);
        EXPECT_EQ(received[0].second, row.expectedLParam);
    }
    SetWindowLongPtrA(parent.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
}

// What the control's own procedure finds when it handles WM_DESTROY.
struct DestroyView {
    bool procedureRestored = false;
    std::set<std::string> properties;
};
DestroyView destroyView;
WNDPROC destroyClassProc;

// The runtime's properties; the platform keeps its own on controls too (the
// theme's, with the version 6 controls).
BOOL CALLBACK CollectProperty(HWND, LPSTR name, HANDLE, ULONG_PTR) {
    static const std::set<std::string> runtime = {
        RT_PROP_PREVIOUS_PROC, RT_PROP_TEXT_COLOUR,  RT_PROP_BACK_COLOUR,   RT_PROP_BACK_BRUSH, RT_PROP_NOTIFY_TAB,
        RT_PROP_NOTIFY_ENTER,  RT_PROP_HOT,          RT_PROP_HOT_BRUSH,     RT_PROP_HOT_COLOUR, RT_PROP_BORDER_WIDTH,
        RT_PROP_HOT_BITMAP,    RT_PROP_NORMAL_BITMAP, RT_PROP_PUSHED_BITMAP};
    if (!IS_INTRESOURCE(name) && runtime.count(name)) destroyView.properties.insert(name);
    return TRUE;
}

LRESULT CALLBACK DestroyWatcherProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        destroyView.procedureRestored =
            GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(DestroyWatcherProc);
        destroyView.properties.clear();
        EnumPropsExA(window, CollectProperty, 0);
    }
    return CallWindowProcA(destroyClassProc, window, message, wParam, lParam);
}

TEST(ControlSubclass, CleanUpRestoresTheProcedureFirstAndRemovesEveryProperty) {
    ReflectingParent parent;
    GdiLedger ledger;
    ASSERT_TRUE(ledger.Installed());
    const char* const everything[] = {RT_PROP_NOTIFY_TAB,  RT_PROP_NOTIFY_ENTER, RT_PROP_HOT,
                                      RT_PROP_HOT_BRUSH,   RT_PROP_HOT_BITMAP,   RT_PROP_NORMAL_BITMAP,
                                      RT_PROP_PUSHED_BITMAP};
    struct Row {
        int32_t type;
        const char* className;
        DWORD style;
        std::set<std::string> kept;  // application properties this procedure leaves alone
    };
    const Row rows[] = {
        {CONTROL_EDIT, "EDIT", 0,
         {RT_PROP_HOT, RT_PROP_HOT_BRUSH, RT_PROP_HOT_BITMAP, RT_PROP_NORMAL_BITMAP, RT_PROP_PUSHED_BITMAP}},
        {CONTROL_PUSH_BUTTON, "BUTTON", BS_OWNERDRAW,
         {RT_PROP_NOTIFY_TAB, RT_PROP_NOTIFY_ENTER, RT_PROP_HOT, RT_PROP_HOT_BRUSH, RT_PROP_HOT_BITMAP,
          RT_PROP_NORMAL_BITMAP, RT_PROP_PUSHED_BITMAP}},
        {CONTROL_LABEL, "STATIC", 0,
         {RT_PROP_NOTIFY_TAB, RT_PROP_NOTIFY_ENTER, RT_PROP_HOT, RT_PROP_HOT_BRUSH, RT_PROP_HOT_BITMAP,
          RT_PROP_NORMAL_BITMAP, RT_PROP_PUSHED_BITMAP}},
        {CONTROL_HOT_BUTTON, "BUTTON", BS_OWNERDRAW, {RT_PROP_NOTIFY_TAB, RT_PROP_NOTIFY_ENTER}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.type);
        HWND control = parent.AddChild(row.className, "", row.style, 0, 0, 50, 20, 1);
        destroyClassProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DestroyWatcherProc)));
        ControlSubclass(control, row.type);
        for (const char* name : everything) SetPropA(control, name, reinterpret_cast<HANDLE>(1));
        // Objects the application hands over belong to the hot button.
        if (row.type == CONTROL_HOT_BUTTON) {
            SetPropA(control, RT_PROP_HOT_BRUSH, CreateSolidBrush(RGB(1, 1, 1)));
            HDC screen = GetDC(nullptr);
            for (const char* name : {RT_PROP_HOT_BITMAP, RT_PROP_NORMAL_BITMAP, RT_PROP_PUSHED_BITMAP}) {
                SetPropA(control, name, CreateCompatibleBitmap(screen, 4, 4));
            }
            ReleaseDC(nullptr, screen);
        }
        destroyView = DestroyView{};
        DestroyWindow(control);
        EXPECT_TRUE(destroyView.procedureRestored);
        EXPECT_EQ(destroyView.properties, row.kept);
        // Properties left with the placeholder value 1 are not objects.
        for (const std::string& name : row.kept) RemovePropA(control, name.c_str());
    }
    EXPECT_EQ(ledger.Live(), 0u);
    EXPECT_EQ(ledger.ForeignDeletions(), 0u);
}

TEST(ControlSubclass, ObjectsGoOnceAndOnlyWhenNoControlHoldsThem) {
    ReflectingParent parent;
    LOGFONTA description{};
    description.lfHeight = 8;
    lstrcpyA(description.lfFaceName, "MS Sans Serif");
    parent.font = CreateFontIndirectA(&description);
    HFONT own = CreateFontIndirectA(&description);
    GdiLedger ledger;
    const int32_t types[] = {CONTROL_EDIT, CONTROL_PUSH_BUTTON, CONTROL_LABEL, CONTROL_HOT_BUTTON};
    for (int32_t type : types) {
        for (int i = 0; i < 3; ++i) {
            HWND control = parent.AddChild(type == CONTROL_EDIT ? "EDIT" : type == CONTROL_LABEL ? "STATIC" : "BUTTON",
                                           "", type == CONTROL_PUSH_BUTTON || type == CONTROL_HOT_BUTTON ? BS_OWNERDRAW : 0,
                                           0, 0, 50, 20, 1);
            ControlSubclass(control, type);
            SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(parent.font), FALSE);
            DestroyWindow(control);
        }
    }
    EXPECT_EQ(GetObjectType(parent.font), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(ledger.ForeignDeletions(), 0u);

    // A font the program handed to one control alone is still the program's.
    HWND control = parent.AddChild("EDIT", "", 0, 0, 0, 50, 20, 1);
    ControlSubclass(control, CONTROL_EDIT);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(own), FALSE);
    DestroyWindow(control);
    EXPECT_EQ(GetObjectType(own), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(ledger.ForeignDeletions(), 0u);
    DeleteObject(own);
    DeleteObject(parent.font);

    // One object in two slots of a control, or held by two controls: deleted
    // once, with the last holder.
    const size_t foreignBefore = ledger.ForeignDeletions();  // the fonts, made before the ledger
    HDC screen = GetDC(nullptr);
    HBITMAP face = CreateCompatibleBitmap(screen, 8, 8);
    HWND hot = parent.AddChild("BUTTON", "", BS_OWNERDRAW, 0, 0, 50, 20, 1);
    ControlSubclass(hot, CONTROL_HOT_BUTTON);
    SetPropA(hot, RT_PROP_HOT_BITMAP, face);
    SetPropA(hot, RT_PROP_NORMAL_BITMAP, face);
    SetPropA(hot, RT_PROP_HOT_BRUSH, GetPropA(hot, RT_PROP_BACK_BRUSH));
    HBITMAP shared = CreateCompatibleBitmap(screen, 8, 8);
    ReleaseDC(nullptr, screen);
    HWND first = parent.AddChild("BUTTON", "", BS_BITMAP, 0, 0, 50, 20, 1);
    HWND second = parent.AddChild("BUTTON", "", BS_BITMAP, 0, 0, 50, 20, 2);
    for (HWND button : {first, second}) {
        ControlSubclass(button, CONTROL_PUSH_BUTTON);
        SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shared));
    }
    DestroyWindow(hot);
    DestroyWindow(first);
    EXPECT_EQ(GetObjectType(shared), static_cast<DWORD>(OBJ_BITMAP)) << "deleted while the second shows it";
    DestroyWindow(second);
    EXPECT_EQ(ledger.Live(), 0u);
    EXPECT_EQ(ledger.ForeignDeletions(), foreignBefore);

    // One brush the program puts in controls of two windows, each drawn with
    // it: closing one window leaves it to the other.
    HBRUSH brush = CreateSolidBrush(RGB(9, 9, 9));
    ReflectingParent other;
    HWND edits[] = {parent.AddChild("EDIT", "", 0, 0, 0, 50, 20, 1), other.AddChild("EDIT", "", 0, 0, 0, 50, 20, 1)};
    for (HWND edit : edits) {
        ControlSubclass(edit, CONTROL_EDIT);
        DeleteObject(GetPropA(edit, RT_PROP_BACK_BRUSH));
        SetPropA(edit, RT_PROP_BACK_BRUSH, brush);
        HDC dc = GetDC(edit);
        EXPECT_EQ(SendMessageA(GetParent(edit), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(edit)),
                  reinterpret_cast<LRESULT>(brush));
        ReleaseDC(edit, dc);
    }
    DestroyWindow(other.hwnd);
    EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH)) << "deleted while the other window shows it";
    DestroyWindow(edits[0]);
    // Two hot-tracking buttons given one "BBRUSH", which they never draw
    // with, and destroyed one at a time: it goes once, with the second.
    HBRUSH unseen = CreateSolidBrush(RGB(7, 7, 7));
    HWND hots[] = {parent.AddChild("BUTTON", "", BS_OWNERDRAW, 0, 0, 50, 20, 1),
                   parent.AddChild("BUTTON", "", BS_OWNERDRAW, 0, 0, 50, 20, 2)};
    for (HWND button : hots) {
        ControlSubclass(button, CONTROL_HOT_BUTTON);
        DeleteObject(GetPropA(button, RT_PROP_BACK_BRUSH));
        SetPropA(button, RT_PROP_BACK_BRUSH, unseen);
    }
    DestroyWindow(hots[0]);
    EXPECT_EQ(GetObjectType(unseen), static_cast<DWORD>(OBJ_BRUSH)) << "deleted while the other button holds it";
    DestroyWindow(hots[1]);
    EXPECT_EQ(ledger.Live(), 0u);
    EXPECT_EQ(ledger.ForeignDeletions(), foreignBefore);
}

TEST(ControlSubclass, NoGdiObjectLeaksOverAThousandControlsOfEachType) {
    ReflectingParent parent;
    GdiLedger ledger;
    ASSERT_TRUE(ledger.Installed());
    for (const TypeRow& row : kTypes) {
        SCOPED_TRACE(row.type);
        const size_t createdBefore = ledger.Created();
        for (int i = 0; i < Cycles(1000); ++i) {
            HWND control = parent.AddChild(row.className, "", row.style, 0, 0, 60, 20, 1);
            ControlSubclass(control, row.type);
            ControlSubclass(control, row.type);  // attached once: no second brush
            if (row.type == CONTROL_HOT_BUTTON) {
                SetPropA(control, RT_PROP_HOT_BRUSH, CreateSolidBrush(RGB(1, 1, 1)));
            }
            DestroyWindow(control);
        }
        EXPECT_GE(ledger.Created() - createdBefore, row.type == CONTROL_SCROLL_BAR ? 0u : size_t(Cycles(1000)));
        ASSERT_EQ(ledger.Live(), 0u);
        ASSERT_EQ(ledger.ForeignDeletions(), 0u);
    }
}

}  // namespace
