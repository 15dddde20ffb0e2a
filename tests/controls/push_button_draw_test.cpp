// Owner-drawn push buttons painted through the real path: the button asks its
// parent to draw, the parent reflects WM_DRAWITEM, the subclass procedure
// paints. Each state is captured, checked by the pixels that define its look,
// and saved as a PNG.
#include <gtest/gtest.h>

#include "pixels.h"
#include "reflecting_parent.h"
#include "rt_controls_internal.h"
#include "test_support.h"

namespace {

constexpr int kWidth = 100;
constexpr int kHeight = 30;
constexpr COLORREF kFace = RGB(0, 120, 130);
constexpr COLORREF kCaption = RGB(255, 230, 0);

// A push-button frame as the system draws it, at the test button's size.
Pixels SystemFrame(UINT state) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    RECT r{0, 0, kWidth, kHeight};
    DrawFrameControl(memory, &r, DFC_BUTTON, DFCS_BUTTONPUSH | state);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    Pixels pixels = CaptureBitmap(bitmap);
    DeleteObject(bitmap);
    return pixels;
}

// Pixels of the two outermost rings that differ between the pictures.
int RingDifferences(const Pixels& a, const Pixels& b) {
    int differing = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool ring = x < 2 || y < 2 || x >= kWidth - 2 || y >= kHeight - 2;
            if (ring && a.At(x, y) != b.At(x, y)) ++differing;
        }
    }
    return differing;
}

class PushButtonDrawTest : public testing::Test {
protected:
    HWND MakeButton(const char* caption, DWORD extraStyle = 0, int width = kWidth, int height = kHeight) {
        HWND button = parent_.AddChild("BUTTON", caption, BS_OWNERDRAW | extraStyle, 20, 20, width, height, 3);
        ControlSubclass(button, CONTROL_PUSH_BUTTON);
        return button;
    }
    static void UseColours(HWND button, COLORREF face, COLORREF caption) {
        SetPropA(button, RT_PROP_BACK_COLOUR, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(face)));
        SetPropA(button, RT_PROP_TEXT_COLOUR, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(caption)));
    }
    static Pixels Shot(HWND button, const char* name) {
        Pixels pixels = CaptureClient(button);
        SavePng(pixels, std::string("push_button_") + name);
        return pixels;
    }
    static RECT Inside() { return RECT{3, 3, kWidth - 3, kHeight - 3}; }
    ReflectingParent parent_;
};

TEST_F(PushButtonDrawTest, NormalIsRaisedWithFaceAndCentredCaption) {
    HWND button = MakeButton("OK");
    const Pixels p = Shot(button, "normal_system_colours");
    // The system colours given at attach time.
    EXPECT_EQ(DescribeColour(p.At(5, 5)), DescribeColour(GetSysColor(COLOR_BTNFACE)));
    const RECT text = p.BoundsOf(GetSysColor(COLOR_BTNTEXT), Inside());
    ASSERT_LT(text.left, text.right) << "caption drawn";
    EXPECT_NEAR((text.left + text.right) / 2.0, kWidth / 2.0, 1.5);
    EXPECT_NEAR((text.top + text.bottom) / 2.0, kHeight / 2.0, 1.5);
    // Raised: light top-left, dark bottom-right.
    EXPECT_EQ(DescribeColour(p.At(0, 0)), DescribeColour(GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(DescribeColour(p.At(kWidth - 1, kHeight - 1)), DescribeColour(GetSysColor(COLOR_3DDKSHADOW)));

    UseColours(button, kFace, kCaption);
    const Pixels custom = Shot(button, "normal");
    EXPECT_EQ(DescribeColour(custom.At(5, 5)), DescribeColour(kFace));
    const RECT customText = custom.BoundsOf(kCaption, Inside());
    EXPECT_EQ(customText.left, text.left);
    EXPECT_EQ(customText.top, text.top);
}

TEST_F(PushButtonDrawTest, PushedEdgeIsSunkenAndCaptionMovesOnePixel) {
    HWND button = MakeButton("OK");
    UseColours(button, kFace, kCaption);
    const RECT normal = Shot(button, "normal_before_push").BoundsOf(kCaption, Inside());
    SendMessageA(button, BM_SETSTATE, TRUE, 0);
    const Pixels p = Shot(button, "pushed");
    const RECT pushed = p.BoundsOf(kCaption, Inside());
    EXPECT_EQ(pushed.left, normal.left + 1);
    EXPECT_EQ(pushed.top, normal.top + 1);
    EXPECT_EQ(pushed.right, normal.right + 1);
    EXPECT_EQ(pushed.bottom, normal.bottom + 1);
    EXPECT_EQ(DescribeColour(p.At(5, 5)), DescribeColour(kFace));
    // The two outer rings are the system's pushed frame, all the way round,
    // and not its raised one.
    EXPECT_EQ(RingDifferences(p, SystemFrame(DFCS_PUSHED)), 0);
    EXPECT_GT(RingDifferences(p, SystemFrame(0)), kWidth);
}

TEST_F(PushButtonDrawTest, FocusAndDefaultDrawTheOutlineOnTheItemRectangle) {
    HWND button = MakeButton("OK");
    UseColours(button, kFace, kCaption);
    const Pixels plain = Shot(button, "unfocused");
    SetFocus(button);
    const Pixels focused = Shot(button, "focused");
    SetFocus(parent_.hwnd);
    parent_.defaultId = 3;
    const Pixels asDefault = Shot(button, "default");
    for (const Pixels* p : {&focused, &asDefault}) {
        // The outline in the DC's pen (black) on the full item rectangle,
        // the edge moved one pixel inwards.
        EXPECT_EQ(DescribeColour(p->At(0, 0)), DescribeColour(RGB(0, 0, 0)));
        EXPECT_EQ(DescribeColour(p->At(kWidth / 2, 0)), DescribeColour(RGB(0, 0, 0)));
        EXPECT_EQ(DescribeColour(p->At(kWidth - 1, kHeight / 2)), DescribeColour(RGB(0, 0, 0)));
        EXPECT_EQ(DescribeColour(p->At(1, 1)), DescribeColour(plain.At(0, 0)));
        EXPECT_EQ(DescribeColour(p->At(6, 6)), DescribeColour(kFace));
    }

    // The dotted focus rectangle, a line inside the face, only with the focus
    // (and focus cues shown: this platform always shows them).
    const auto dots = [](const Pixels& p) {
        int count = 0;
        for (int x = 8; x < kWidth - 8; ++x) count += p.At(x, 4) != kFace;
        return count;
    };
    EXPECT_EQ(dots(asDefault), 0);
    SetFocus(button);
    EXPECT_GE(dots(Shot(button, "focused_keyboard")), (kWidth - 16) / 3);
}

// At 144 DPI a line of the drawing is two pixels: each band of the edge, the
// focus and default outline, the pushed caption's move; a hot-tracking
// button's border too.
TEST_F(PushButtonDrawTest, LinesAreTwoPixelsAt144Dpi) {
    if (!StartedAtDpi()) {
        std::string output;
        EXPECT_TRUE(PassesAtDpi(144, "PushButtonDrawTest.LinesAreTwoPixelsAt144Dpi", &output)) << output;
        return;
    }
    // Each band in the colour of the system's own frame's one-pixel band.
    const auto colourAt = [](const Pixels& p, int x) { return DescribeColour(p.At(x, kHeight / 2)); };
    const Pixels system = SystemFrame(0);
    const Pixels systemPushed = SystemFrame(DFCS_PUSHED);
    HWND hot = parent_.AddChild("BUTTON", "Hot", BS_OWNERDRAW, 20, 60, kWidth, kHeight, 4);
    ControlSubclass(hot, CONTROL_HOT_BUTTON);
    SetPropA(hot, RT_PROP_BORDER_WIDTH, reinterpret_cast<HANDLE>(2));
    HWND button = MakeButton("OK");
    for (HWND b : {button, hot}) {
        UseColours(b, kFace, kCaption);
        const Pixels raised = Shot(b, b == hot ? "hot_raised_144" : "raised_144");
        for (int x : {0, 1}) EXPECT_EQ(colourAt(raised, x), colourAt(system, 0)) << x;
        for (int x : {2, 3}) EXPECT_EQ(colourAt(raised, x), colourAt(system, 1)) << x;
        EXPECT_EQ(colourAt(raised, 4), DescribeColour(kFace));
        for (int x : {kWidth - 1, kWidth - 2}) EXPECT_EQ(colourAt(raised, x), colourAt(system, kWidth - 1)) << x;
        for (int x : {kWidth - 3, kWidth - 4}) EXPECT_EQ(colourAt(raised, x), colourAt(system, kWidth - 2)) << x;
        // The outline: the push button's edge moves inwards, a hot button's
        // edge lies under it.
        SetFocus(b);
        const Pixels focused = Shot(b, b == hot ? "hot_focused_144" : "focused_144");
        for (int x : {0, 1}) EXPECT_EQ(colourAt(focused, x), DescribeColour(RGB(0, 0, 0))) << x;
        for (int x : {2, 3}) EXPECT_EQ(colourAt(focused, x), colourAt(system, b == hot ? 1 : 0)) << x;
        SetFocus(parent_.hwnd);
    }
    const RECT normal = Shot(button, "before_push_144").BoundsOf(kCaption, Inside());
    SendMessageA(button, BM_SETSTATE, TRUE, 0);
    const Pixels pushed = Shot(button, "pushed_144");
    EXPECT_EQ(pushed.BoundsOf(kCaption, Inside()).left, normal.left + 2);
    for (int x : {0, 1}) EXPECT_EQ(colourAt(pushed, x), colourAt(systemPushed, 0)) << x;
    for (int x : {2, 3}) EXPECT_EQ(colourAt(pushed, x), colourAt(systemPushed, 1)) << x;
}

TEST_F(PushButtonDrawTest, DisabledCaptionIsEmbossedOnePixelHigher) {
    HWND button = MakeButton("OK");
    UseColours(button, kFace, kCaption);
    const RECT normal = Shot(button, "enabled").BoundsOf(kCaption, Inside());
    EnableWindow(button, FALSE);
    const Pixels p = Shot(button, "disabled");
    EXPECT_EQ(p.Count(kCaption, Inside()), 0);
    // The embossed text: shadow colour at the text position, one pixel up.
    const RECT shadow = p.BoundsOf(GetSysColor(COLOR_BTNSHADOW), Inside());
    ASSERT_LT(shadow.left, shadow.right);
    EXPECT_EQ(shadow.top, normal.top - 1);
    // Horizontally the computed origin and DrawText's centring may differ by one.
    EXPECT_NEAR(shadow.left, normal.left, 1);
}

TEST_F(PushButtonDrawTest, DisabledMultilineCaptionIsGray) {
    HWND button = MakeButton("OK", BS_MULTILINE);
    UseColours(button, kFace, kCaption);
    EnableWindow(button, FALSE);
    const Pixels p = Shot(button, "disabled_multiline");
    EXPECT_EQ(p.Count(kCaption, Inside()), 0);
    EXPECT_GT(p.Count(GetSysColor(COLOR_GRAYTEXT), Inside()), 0);
}

TEST_F(PushButtonDrawTest, FlatFrameIsOnePixelInThePen) {
    HWND button = MakeButton("OK", BS_FLAT);
    UseColours(button, kFace, kCaption);
    const Pixels p = Shot(button, "flat");
    EXPECT_EQ(DescribeColour(p.At(0, 0)), DescribeColour(RGB(0, 0, 0)));
    EXPECT_EQ(DescribeColour(p.At(kWidth - 1, kHeight - 1)), DescribeColour(RGB(0, 0, 0)));
    EXPECT_EQ(DescribeColour(p.At(1, 1)), DescribeColour(kFace));
    EXPECT_EQ(DescribeColour(p.At(kWidth - 2, kHeight - 2)), DescribeColour(kFace));
}

TEST_F(PushButtonDrawTest, EmptyCaptionDrawsFrameAndFaceOnly) {
    HWND button = MakeButton("");
    UseColours(button, kFace, kCaption);
    const Pixels p = Shot(button, "empty");
    EXPECT_EQ(p.Count(kFace, Inside()), (kWidth - 6) * (kHeight - 6));
}

TEST_F(PushButtonDrawTest, WrappedMultilineCaptionIsCentredVertically) {
    const int height = 60;
    HWND button = MakeButton("Wrap this caption", BS_MULTILINE, 70, height);
    UseColours(button, kFace, kCaption);
    const Pixels p = Shot(button, "multiline");
    const RECT text = p.BoundsOf(kCaption, RECT{3, 3, 67, height - 3});
    ASSERT_LT(text.top, text.bottom);
    EXPECT_GT(text.bottom - text.top, 16) << "two lines";
    EXPECT_NEAR(text.top, height - text.bottom, 4);
}

TEST(PushButtonDraw, LeavesTheDcBackgroundColourAtTheFace) {
    ReflectingParent parent;
    HWND button = parent.AddChild("BUTTON", "OK", BS_OWNERDRAW, 0, 0, 60, 20, 3);
    ControlSubclass(button, CONTROL_PUSH_BUTTON);
    SetPropA(button, RT_PROP_BACK_COLOUR, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(kFace)));
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 60, 20);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    const int mode = GetBkMode(dc);
    const COLORREF textColour = GetTextColor(dc);
    DRAWITEMSTRUCT item{ODT_BUTTON, 3, 0, ODA_DRAWENTIRE, 0, button, dc, {0, 0, 60, 20}, 0};
    EXPECT_EQ(DrawPushButton(button, &item), 0);
    EXPECT_EQ(GetBkColor(dc), kFace);
    EXPECT_EQ(GetBkMode(dc), mode);
    EXPECT_EQ(GetTextColor(dc), textColour);
    EXPECT_EQ(FillSolid(nullptr, 0, 0, 5, 5, kFace), 0);
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

}  // namespace
