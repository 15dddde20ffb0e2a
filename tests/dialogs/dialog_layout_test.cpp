// Dialogs and windows at 96, 120, 144 and 192 DPI, as a program sees them:
// where its 96-DPI pixels end up, whether captions fit in the fonts they are
// drawn with, and a change of DPI while they are shown.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "corvantis.h"
#include "gdi_ledger.h"
#include "pixels.h"
#include "rt_core.h"
#include "test_support.h"

namespace {

struct Placed {
    ControlType type;
    const char* text;
    RECT pixels;  // left, top, right, bottom at 96 DPI
    uint32_t style;
};
// The application's three controls, then one of every other kind.
const Placed kControls[] = {
    {CONTROL_LABEL, "Your Name", {14, 14, 84, 34}, SS_NOTIFY | SS_SIMPLE},
    {CONTROL_EDIT, "", {14, 33, 264, 53}, WS_BORDER},
    {CONTROL_PUSH_BUTTON, "OK", {240, 78, 310, 98}, 0},
    {CONTROL_CHECK_BOX, "Check box", {14, 110, 104, 130}, 0},
    {CONTROL_RADIO_BUTTON, "Third", {110, 110, 180, 130}, 0},
    {CONTROL_GROUP_BOX, "Two-line caption", {190, 104, 320, 144}, 0},
    {CONTROL_LIST_BOX, "", {14, 150, 104, 200}, 0},
    {CONTROL_COMBO_BOX, "", {110, 150, 200, 230}, CBS_DROPDOWNLIST},
    {CONTROL_SCROLL_BAR, "", {14, 210, 164, 226}, 0},
    {CONTROL_SYSTEM_BUTTON, "Apply", {170, 210, 240, 234}, 0},
    {CONTROL_HOT_BUTTON, "Owner-drawing", {240, 234, 330, 258}, 0},
    {CONTROL_LIST_VIEW, "", {14, 240, 154, 280}, 0},
    {CONTROL_TREE_VIEW, "", {160, 264, 310, 300}, 0},
    {CONTROL_RICH_EDIT, "type here", {14, 290, 154, 314}, WS_BORDER},
    // One pixel wider than its caption at 96 DPI.
    {CONTROL_LABEL, "Remember my settings", {200, 150, 306, 170}, 0},
};
constexpr int32_t kFirstId = 100;
constexpr int32_t kWider = 50;

RECT AtDpi(const RECT& r, int dpi) {
    return RECT{MulDiv(r.left, dpi, 96), MulDiv(r.top, dpi, 96), MulDiv(r.right, dpi, 96), MulDiv(r.bottom, dpi, 96)};
}

RECT InParent(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Show(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// Within a pixel per edge of the program's rectangle at dpi, exact at 96. A
// combo box's own height is its edit field's.
void ExpectAt(const RECT& got, const RECT& pixels, int dpi, const std::string& what, bool height = true) {
    const RECT want = AtDpi(pixels, dpi);
    const LONG slack = dpi == 96 ? 0 : 1;
    const bool within = std::abs(got.left - want.left) <= slack && std::abs(got.top - want.top) <= slack &&
                      std::abs(got.right - want.right) <= slack &&
                      (!height || std::abs(got.bottom - want.bottom) <= slack);
    EXPECT_TRUE(within) << what << " at " << dpi << " DPI: " << Show(got) << ", wanted " << Show(want);
}

// The caption, measured in the font the control draws with, fits the
// control (beside the box of a check box or radio button).
void ExpectCaptionFits(HWND control, const Placed& placed, int dpi) {
    if (!placed.text[0] || placed.type == CONTROL_RICH_EDIT) return;
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE text{};
    GetTextExtentPoint32A(dc, placed.text, static_cast<int>(strlen(placed.text)), &text);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    RECT client;
    GetClientRect(control, &client);
    const bool boxed = placed.type == CONTROL_CHECK_BOX || placed.type == CONTROL_RADIO_BUTTON;
    EXPECT_LE(text.cx + (boxed ? MulDiv(16, dpi, 96) : 0), client.right)
        << "\"" << placed.text << "\" is cut at " << dpi << " DPI";
    EXPECT_LE(metrics.tmHeight, client.bottom) << "\"" << placed.text << "\" at " << dpi << " DPI";
    // The dialog font grows with the DPI, and not beyond it.
    const bool dialog = GetClassLongA(GetParent(control), GCW_ATOM) == DialogClassAtom;
    // (or smaller, where a wider face would cut the captions).
    if (dialog) {
        EXPECT_LE(metrics.tmHeight, 13.0 * dpi / 96 + 2) << placed.text << " at " << dpi;
        EXPECT_GE(metrics.tmHeight, 0.85 * 13.0 * dpi / 96) << placed.text << " at " << dpi;
    }
}

// Windows draw their controls in the system's font, wider than the dialog's:
// their controls are made wider by 'wider'.
void AddEveryControl(WindowRecord* record, int32_t wider = 0) {
    int32_t id = kFirstId;
    for (const Placed& c : kControls) {
        ControlAdd(record, c.type, c.text, c.pixels.left, c.pixels.top, c.pixels.right - c.pixels.left + wider,
                   c.pixels.bottom - c.pixels.top, c.style | WS_CHILD | WS_VISIBLE, id++);
    }
}

void ExpectEveryControl(HWND parent, int dpi, int32_t wider = 0) {
    int32_t id = kFirstId;
    for (const Placed& c : kControls) {
        HWND control = GetDlgItem(parent, id++);
        ASSERT_NE(control, nullptr) << c.text;
        const RECT pixels{c.pixels.left, c.pixels.top, c.pixels.right + wider, c.pixels.bottom};
        ExpectAt(InParent(control), pixels, dpi, std::string("control ") + std::to_string(c.type),
                 c.type != CONTROL_COMBO_BOX);
        ExpectCaptionFits(control, c, dpi);
    }
}

int dpiEvents;
int32_t lastEventDpi;
std::string dpiOrder;  // T: a top-level window heard, C: a window inside
int32_t CountDpiEvents() {
    if (EventMessage == WM_DPICHANGED || EventMessage == WM_DPICHANGED_AFTERPARENT) {
        ++dpiEvents;
        lastEventDpi = LOWORD(EventWParam);
        dpiOrder += EventMessage == WM_DPICHANGED ? 'T' : 'C';
    }
    return 0;
}

// The width of a control's caption in the font it draws with.
LONG CaptionWidth(HWND control) {
    char text[64] = "";
    GetWindowTextA(control, text, sizeof(text));
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &size);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return size.cx;
}

// What the system suggests for a window moved to another DPI: its place, and
// its size scaled.
void SendDpiChange(HWND window, int from, int to) {
    RECT r;
    GetWindowRect(window, &r);
    RECT suggested{r.left, r.top, r.left + MulDiv(r.right - r.left, to, from),
                   r.top + MulDiv(r.bottom - r.top, to, from)};
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
}

std::vector<RECT> ChildRects(HWND parent) {
    std::vector<RECT> rects;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) rects.push_back(InParent(c));
    return rects;
}

class DpiTest : public testing::Test {
protected:
    void TearDown() override {
        for (WindowRecord* r : {&dialog_, &window_, &frame_, &child_, &inner_}) {
            if (r->hwnd && IsWindow(r->hwnd)) DestroyWindow(r->hwnd);
        }
        ResetRuntimeGlobals();
    }
    WindowRecord dialog_{}, window_{}, frame_{}, child_{}, inner_{};
};

class DpiLayoutTest : public DpiTest, public testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        // Other DPIs in a process started at them; this one checks the DPI
        // it was started at is the one the runtime sees.
        dpi_ = StartedAtDpi() ? StartedAtDpi() : GetParam();
        if (!StartedAtDpi() && GetParam() != 96) {
            std::string output;
            const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
            const std::string self = std::string(test->test_suite_name()) + "." + test->name();
            EXPECT_TRUE(PassesAtDpi(GetParam(), self.c_str(), &output)) << output;
            delegated_ = true;
            return;
        }
        ASSERT_EQ(WindowDpi(nullptr), dpi_) << "the process did not start at the DPI asked for";
    }
    int dpi_ = 96;
    bool delegated_ = false;  // the test ran in a process of the DPI asked for
};

TEST_P(DpiLayoutTest, DialogOfEveryControlIsItsPixelsAtTheDpi) {
    if (delegated_) return;
    DialogCreate(&dialog_, 20, 30, 330, 320, WS_CAPTION | WS_SYSMENU, nullptr, "Every control", nullptr);
    AddEveryControl(&dialog_);
    ASSERT_NE(DialogShow(&dialog_, nullptr), nullptr);
    // The client area where the program put it, on the screen.
    RECT client;
    GetClientRect(dialog_.hwnd, &client);
    MapWindowPoints(dialog_.hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    ExpectAt(client, RECT{20, 30, 350, 350}, dpi_, "dialog client");
    ExpectEveryControl(dialog_.hwnd, dpi_);
    RECT shown;
    GetWindowRect(dialog_.hwnd, &shown);
    RedrawWindow(dialog_.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    SavePng(CaptureScreen(shown), "every_control_" + std::to_string(dpi_));
}

TEST_P(DpiLayoutTest, WindowAndMdiFrameChildrenAreTheirPixelsAtTheDpi) {
    if (delegated_) return;
    ASSERT_EQ(WindowCreate(&window_, 20, 20, 370, 330, 0, nullptr, "Children", nullptr), 1);
    RECT outer;
    GetWindowRect(window_.hwnd, &outer);
    ExpectAt(outer, RECT{20, 20, 390, 350}, dpi_, "window");
    AddEveryControl(&window_, kWider);
    ExpectEveryControl(window_.hwnd, dpi_, kWider);

    ASSERT_EQ(WindowCreate(&frame_, 30, 30, 600, 450, WINOPT_FRAME, nullptr, "Frame", nullptr), 1);
    ControlAdd(&frame_, CONTROL_STATUS_BAR, "Ready", 0, 0, 0, 0, WS_CHILD | WS_VISIBLE, 7);
    ASSERT_EQ(WindowCreate(&child_, 10, 10, 390, 360, 0, &frame_, "Child", nullptr), 1);
    ExpectAt(InParent(child_.hwnd), RECT{10, 10, 400, 370}, dpi_, "MDI child");
    AddEveryControl(&child_, kWider);
    ExpectEveryControl(child_.hwnd, dpi_, kWider);
    // The client ends where the bar begins.
    RECT bar = InParent(GetDlgItem(frame_.hwnd, 7));
    EXPECT_EQ(InParent(frame_.mdiClient).bottom, bar.top);
}

TEST_F(DpiTest, ChangesOfDpiPlaceEverythingAgainAndLeakNothing) {
    if (WindowDpi(nullptr) != 96) GTEST_SKIP() << "the change is sent from 96 DPI";
    dpiEvents = 0;
    dpiOrder.clear();
    GdiLedger ledger;
    ASSERT_TRUE(ledger.Installed());
    DialogCreate(&dialog_, 0, 30, 330, 320, WS_CAPTION | WS_SYSMENU, nullptr, "Every control", CountDpiEvents);
    AddEveryControl(&dialog_);
    ASSERT_NE(DialogShow(&dialog_, nullptr), nullptr);
    // A runtime window inside the dialog follows it as inside any window
    // (without a backing bitmap, which would make the rounds below slow).
    const RECT innerPixels{240, 270, 320, 310};
    ASSERT_EQ(WindowCreate(&inner_, innerPixels.left, innerPixels.top, 80, 40, WINOPT_NOBITMAP, &dialog_, "Inner",
                           CountDpiEvents),
              1);
    ControlAdd(&inner_, CONTROL_LABEL, "In", 4, 4, 40, 20, WS_CHILD | WS_VISIBLE, kFirstId);
    ASSERT_EQ(WindowCreate(&window_, 20, 20, 370, 330, 0, nullptr, "Children", CountDpiEvents), 1);
    AddEveryControl(&window_, kWider);
    ASSERT_EQ(WindowCreate(&frame_, 30, 30, 600, 450, WINOPT_FRAME, nullptr, "Frame", CountDpiEvents), 1);
    ControlAdd(&frame_, CONTROL_STATUS_BAR, "Ready", 0, 0, 0, 0, WS_CHILD | WS_VISIBLE, 7);
    ASSERT_EQ(WindowCreate(&child_, 10, 10, 200, 150, 0, &frame_, "Child", CountDpiEvents), 1);
    const std::vector<RECT> dialogAtStart = ChildRects(dialog_.hwnd);
    const std::vector<RECT> windowAtStart = ChildRects(window_.hwnd);
    const HFONT dialogFont = reinterpret_cast<HFONT>(SendDlgItemMessageA(dialog_.hwnd, kFirstId, WM_GETFONT, 0, 0));
    const LONG windowCaption = CaptionWidth(GetDlgItem(window_.hwnd, kFirstId));
    // Pictures drawn in 96-DPI pixels above the controls: one before the
    // change, which follows the window, one after it through a drawing DC
    // opened before it.
    const COLORREF before = RGB(200, 40, 60), after = RGB(30, 160, 70);
    const RECT beforeBox{150, 2, 170, 12}, afterBox{200, 2, 220, 12};
    EXPECT_EQ(WindowDrawBegin(&window_, 2), nullptr) << "no such units";
    HDC drawing = WindowDrawBegin(&window_, DRAW_96DPI_PIXELS);
    ASSERT_NE(drawing, nullptr);
    EXPECT_EQ(WindowDrawBegin(&window_, DRAW_DEVICE_PIXELS), nullptr) << "one drawing DC at a time";
    HBRUSH ink = CreateSolidBrush(before);
    FillRect(drawing, &beforeBox, ink);
    DeleteObject(ink);
    EXPECT_EQ(WindowDrawEnd(&window_), 1);
    EXPECT_EQ(window_.drawDc, nullptr);
    drawing = WindowDrawBegin(&window_, DRAW_96DPI_PIXELS);
    ASSERT_NE(drawing, nullptr);

    for (HWND w : {dialog_.hwnd, window_.hwnd, frame_.hwnd}) SendDpiChange(w, 96, 192);
    // The bar along the frame's new bottom, the client down to the bar; the
    // window's captions drawn twice as large.
    RECT frameClient;
    GetClientRect(frame_.hwnd, &frameClient);
    const RECT bar = InParent(GetDlgItem(frame_.hwnd, 7));
    EXPECT_EQ(bar.bottom, frameClient.bottom);
    EXPECT_EQ(bar.right, frameClient.right);
    EXPECT_EQ(InParent(frame_.mdiClient).bottom, bar.top);
    EXPECT_GE(CaptionWidth(GetDlgItem(window_.hwnd, kFirstId)), windowCaption);
    EXPECT_EQ(dpiEvents, 5);
    EXPECT_EQ(dpiOrder, "TCTTC");  // the windows inside after their dialog and frame
    EXPECT_EQ(lastEventDpi, 192);
    EXPECT_EQ(CaptureBitmap(child_.backBitmap).width, 2 * GetSystemMetrics(SM_CXSCREEN));
    ExpectAt(InParent(inner_.hwnd), innerPixels, 192, "window inside the dialog");
    ExpectAt(InParent(GetDlgItem(inner_.hwnd, kFirstId)), RECT{4, 4, 44, 24}, 192, "label inside it");
    WindowRecord late{};  // made after the change, at the window's DPI
    ASSERT_EQ(WindowCreate(&late, 0, 0, 50, 50, 0, &window_, "Late", nullptr), 1);
    EXPECT_EQ(CaptureBitmap(late.backBitmap).width, 2 * GetSystemMetrics(SM_CXSCREEN));
    DestroyWindow(late.hwnd);
    EXPECT_EQ(WindowDpi(GetDlgItem(dialog_.hwnd, kFirstId)), 192);
    RECT client;
    GetClientRect(dialog_.hwnd, &client);
    ExpectAt(client, RECT{0, 0, 330, 320}, 192, "dialog client");
    ExpectEveryControl(dialog_.hwnd, 192);
    ExpectEveryControl(window_.hwnd, 192, kWider);
    // Painted while the drawing DC is open: the paint copies device pixels.
    ink = CreateSolidBrush(after);
    FillRect(drawing, &afterBox, ink);
    DeleteObject(ink);
    RedrawWindow(window_.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
    HDC shown = GetDC(window_.hwnd);
    EXPECT_EQ(DescribeColour(GetPixel(shown, 420, 14)), DescribeColour(after));
    EXPECT_EQ(DescribeColour(GetPixel(shown, 320, 14)), DescribeColour(before));
    ReleaseDC(window_.hwnd, shown);
    WindowDrawEnd(&window_);
    const int screen = GetSystemMetrics(SM_CXSCREEN);
    Pixels bitmap = CaptureBitmap(window_.backBitmap);
    EXPECT_EQ(bitmap.width, 2 * screen);
    EXPECT_EQ(DescribeColour(bitmap.At(320, 14)), DescribeColour(before));
    EXPECT_NE(bitmap.At(296, 14), before);
    EXPECT_NE(bitmap.At(344, 14), before);
    for (HWND w : {dialog_.hwnd, window_.hwnd}) SendDpiChange(w, 192, 96);
    UpdateWindow(window_.hwnd);  // shows the picture scaled, not the one at 192 DPI
    shown = GetDC(window_.hwnd);
    EXPECT_EQ(DescribeColour(GetPixel(shown, 210, 7)), DescribeColour(after));
    ReleaseDC(window_.hwnd, shown);
    bitmap = CaptureBitmap(window_.backBitmap);
    EXPECT_EQ(bitmap.width, screen);
    EXPECT_EQ(DescribeColour(bitmap.At(160, 7)), DescribeColour(before));
    EXPECT_EQ(DescribeColour(bitmap.At(210, 7)), DescribeColour(after));

    // Out of sight from here: the rounds count objects, not pictures.
    for (HWND w : {dialog_.hwnd, window_.hwnd}) ShowWindow(w, SW_HIDE);
    const size_t live = ledger.Live();
    for (int round = 0; round < Cycles(500); ++round) {  // a thousand changes each
        for (HWND w : {dialog_.hwnd, window_.hwnd}) SendDpiChange(w, 96, 192);
        for (HWND w : {dialog_.hwnd, window_.hwnd}) SendDpiChange(w, 192, 96);
    }
    EXPECT_EQ(ledger.Live(), live);
    // As at start, to the pixel.
    const std::vector<RECT> dialogAtEnd = ChildRects(dialog_.hwnd);
    const std::vector<RECT> windowAtEnd = ChildRects(window_.hwnd);
    ASSERT_EQ(dialogAtEnd.size(), dialogAtStart.size());
    ASSERT_EQ(windowAtEnd.size(), windowAtStart.size());
    for (size_t i = 0; i < dialogAtStart.size(); ++i) EXPECT_TRUE(EqualRect(&dialogAtEnd[i], &dialogAtStart[i])) << i;
    for (size_t i = 0; i < windowAtStart.size(); ++i) EXPECT_TRUE(EqualRect(&windowAtEnd[i], &windowAtStart[i])) << i;
    GetClientRect(dialog_.hwnd, &client);
    ExpectAt(client, RECT{0, 0, 330, 320}, 96, "dialog client");
    EXPECT_EQ(reinterpret_cast<HFONT>(SendDlgItemMessageA(dialog_.hwnd, kFirstId, WM_GETFONT, 0, 0)), dialogFont);
    // What the changes made goes with the windows.
    DialogClose(&dialog_, 0);
    ASSERT_NE(WindowDrawBegin(&window_, DRAW_DEVICE_PIXELS), nullptr);  // left open
    DestroyWindow(window_.hwnd);
    EXPECT_EQ(window_.drawDc, nullptr);
    DestroyWindow(frame_.hwnd);
    EXPECT_EQ(ledger.Live(), 0u);
    EXPECT_EQ(ledger.ForeignDeletions(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Dpi, DpiLayoutTest, testing::Values(96, 120, 144, 192),
                         [](const testing::TestParamInfo<int>& info) { return std::to_string(info.param); });

}  // namespace
