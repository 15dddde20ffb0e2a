// Hot-tracking buttons painted through the real path: hot face colour,
// bitmaps by state, the colour OR-ed over a bitmap, region edges, border
// widths. Each look is captured, checked and saved as a PNG.
#include <gtest/gtest.h>

#include "pixels.h"
#include "reflecting_parent.h"
#include "rt_controls_internal.h"

namespace {

constexpr int kWidth = 100;
constexpr int kHeight = 40;
constexpr int kX = 20;
constexpr int kY = 20;
constexpr COLORREF kFace = RGB(0, 120, 130);
constexpr COLORREF kHot = RGB(250, 0, 250);
constexpr COLORREF kBlack = RGB(0, 0, 0);

HANDLE Value(uintptr_t value) { return reinterpret_cast<HANDLE>(value); }

HBITMAP SolidBitmap(COLORREF colour) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    const RECT all{0, 0, kWidth, kHeight};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, previous);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

class HotButtonDrawTest : public testing::Test {
protected:
    void SetUp() override {
        button_ = parent_.AddChild("BUTTON", "", BS_OWNERDRAW, kX, kY, kWidth, kHeight, 5);
        ControlSubclass(button_, CONTROL_HOT_BUTTON);
        SetPropA(button_, RT_PROP_BACK_COLOUR, Value(kFace));
    }
    void SetHot(bool hot) {
        if (hot) {
            SetPropA(button_, RT_PROP_HOT, Value(1));
        } else {
            RemovePropA(button_, RT_PROP_HOT);
        }
    }
    // The parent's client area, so that pixels outside a region show the
    // parent's background.
    Pixels Shot(const char* name) {
        Pixels pixels = CaptureClient(parent_.hwnd);
        Pixels button;
        button.width = kWidth;
        button.height = kHeight;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) button.data.push_back(pixels.At(kX + x, kY + y));
        }
        SavePng(button, std::string("hot_button_") + name);
        return button;
    }
    std::string At(const Pixels& p, int x, int y) { return DescribeColour(p.At(x, y)); }
    ReflectingParent parent_;
    HWND button_ = nullptr;
};

TEST_F(HotButtonDrawTest, FreshButtonLooksLikeAPushButtonButFocusKeepsTheEdge) {
    SetWindowTextA(button_, "Hot");
    const Pixels plain = Shot("fresh");
    EXPECT_EQ(At(plain, 0, 0), DescribeColour(GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(At(plain, 5, 5), DescribeColour(kFace));
    EXPECT_GT(plain.Count(GetSysColor(COLOR_BTNTEXT), RECT{3, 3, kWidth - 3, kHeight - 3}), 0);
    SetFocus(button_);
    const Pixels focused = Shot("fresh_focused");
    // The outline covers the edge's outer ring; the edge itself stays put.
    EXPECT_EQ(At(focused, 0, 0), DescribeColour(kBlack));
    EXPECT_EQ(At(focused, 1, 1), At(plain, 1, 1));
    // The dotted focus rectangle a line inside the face, with the focus only.
    const auto dots = [](const Pixels& p) {
        int count = 0;
        for (int x = 8; x < kWidth - 8; ++x) count += p.At(x, 3) != kFace;
        return count;
    };
    EXPECT_EQ(dots(plain), 0);
    EXPECT_GE(dots(focused), (kWidth - 16) / 3);
}

TEST_F(HotButtonDrawTest, HotFaceUsesHtclrOnlyWithHbrush) {
    SetPropA(button_, RT_PROP_HOT_COLOUR, Value(kHot));
    SetHot(true);
    EXPECT_EQ(At(Shot("hot_without_hbrush"), 5, 5), DescribeColour(kFace));
    SetPropA(button_, RT_PROP_HOT_BRUSH, CreateSolidBrush(RGB(1, 2, 3)));
    EXPECT_EQ(At(Shot("hot"), 5, 5), DescribeColour(kHot));
    SetHot(false);
    EXPECT_EQ(At(Shot("not_hot"), 5, 5), DescribeColour(kFace));
    // A disabled button is never hot.
    SetHot(true);
    EnableWindow(button_, FALSE);
    EXPECT_EQ(At(Shot("hot_disabled"), 5, 5), DescribeColour(kFace));
}

TEST_F(HotButtonDrawTest, BitmapsSwitchWithTheHotState) {
    SetPropA(button_, RT_PROP_NORMAL_BITMAP, SolidBitmap(RGB(200, 0, 0)));
    SetPropA(button_, RT_PROP_HOT_BITMAP, SolidBitmap(RGB(0, 200, 0)));
    EXPECT_EQ(At(Shot("normal_bitmap"), 10, 10), DescribeColour(RGB(200, 0, 0)));
    SetHot(true);
    EXPECT_EQ(At(Shot("hot_bitmap"), 10, 10), DescribeColour(RGB(0, 200, 0)));
    SetHot(false);
    EXPECT_EQ(At(Shot("normal_bitmap_again"), 10, 10), DescribeColour(RGB(200, 0, 0)));
}

TEST_F(HotButtonDrawTest, PushedButtonShowsItsPushedBitmap) {
    SetPropA(button_, RT_PROP_NORMAL_BITMAP, SolidBitmap(RGB(200, 0, 0)));
    SetPropA(button_, RT_PROP_HOT_BITMAP, SolidBitmap(RGB(0, 200, 0)));
    SetPropA(button_, RT_PROP_PUSHED_BITMAP, SolidBitmap(RGB(0, 0, 200)));
    SetHot(true);
    SendMessageA(button_, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(At(Shot("pushed_bitmap"), 10, 10), DescribeColour(RGB(0, 0, 200)));
    SendMessageA(button_, BM_SETSTATE, FALSE, 0);
    EXPECT_EQ(At(Shot("hot_after_push"), 10, 10), DescribeColour(RGB(0, 200, 0)));
}

TEST_F(HotButtonDrawTest, HotColourIsOredOverTheNormalBitmap) {
    const COLORREF bitmapColour = RGB(0x10, 0x20, 0x40);
    const COLORREF hot = RGB(0x80, 0x01, 0x02);
    const COLORREF merged = RGB(0x90, 0x21, 0x42);
    SetPropA(button_, RT_PROP_NORMAL_BITMAP, SolidBitmap(bitmapColour));
    SetPropA(button_, RT_PROP_HOT_BRUSH, CreateSolidBrush(RGB(1, 2, 3)));
    SetPropA(button_, RT_PROP_HOT_COLOUR, Value(hot));
    SetHot(true);
    EXPECT_EQ(At(Shot("merged_rectangle"), 10, 10), DescribeColour(merged));
    SetWindowRgn(button_, CreateEllipticRgn(0, 0, kWidth, kHeight), TRUE);
    EXPECT_EQ(At(Shot("merged_region"), kWidth / 2, kHeight / 2), DescribeColour(merged));
}

TEST_F(HotButtonDrawTest, RegionEdgeFollowsTheEllipse) {
    SetPropA(button_, RT_PROP_BORDER_WIDTH, Value(2));
    SetWindowRgn(button_, CreateEllipticRgn(0, 0, kWidth, kHeight), TRUE);
    SetFocus(button_);
    const Pixels raised = Shot("ellipse_raised");
    const std::string parentBackground = DescribeColour(GetSysColor(COLOR_BTNFACE));
    // Outside the ellipse the parent shows; no focus outline on regions.
    EXPECT_EQ(At(raised, 0, 0), parentBackground);
    EXPECT_EQ(At(raised, kWidth - 1, kHeight - 1), parentBackground);
    const int middle = kHeight / 2;
    // The ellipse's rightmost column on the middle row.
    HRGN ellipse = CreateEllipticRgn(0, 0, kWidth, kHeight);
    int right = kWidth - 1;
    while (right > 0 && !PtInRegion(ellipse, right, middle)) --right;
    DeleteObject(ellipse);
    EXPECT_EQ(At(raised, right + 1, middle), parentBackground);
    // Left: outer ring 3D light, inner ring highlight; right: dark shadow
    // outside, shadow inside.
    EXPECT_EQ(At(raised, 0, middle), DescribeColour(GetSysColor(COLOR_3DLIGHT)));
    EXPECT_EQ(At(raised, 1, middle), DescribeColour(GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(At(raised, right, middle), DescribeColour(GetSysColor(COLOR_3DDKSHADOW)));
    EXPECT_EQ(At(raised, right - 1, middle), DescribeColour(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(At(raised, kWidth / 2, middle), DescribeColour(kFace));

    SendMessageA(button_, BM_SETSTATE, TRUE, 0);
    const Pixels sunken = Shot("ellipse_pushed");
    EXPECT_EQ(At(sunken, 0, middle), DescribeColour(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(At(sunken, 1, middle), DescribeColour(GetSysColor(COLOR_3DDKSHADOW)));
    EXPECT_EQ(At(sunken, right, middle), DescribeColour(GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(At(sunken, right - 1, middle), DescribeColour(GetSysColor(COLOR_3DLIGHT)));
}

TEST_F(HotButtonDrawTest, CaptionIsClippedToTheRegion) {
    SetPropA(button_, RT_PROP_TEXT_COLOUR, Value(RGB(255, 255, 0)));
    SetWindowTextA(button_, "WWWWWWWWWWWWWWWWWWWW");
    SetWindowRgn(button_, CreateEllipticRgn(0, 0, kWidth, kHeight), TRUE);
    const Pixels p = Shot("ellipse_caption");
    // The caption is wider than the button; none of it lands outside the ellipse.
    HRGN ellipse = CreateEllipticRgn(0, 0, kWidth, kHeight);
    int inside = 0;
    int outside = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (p.At(x, y) != RGB(255, 255, 0)) continue;
            (PtInRegion(ellipse, x, y) ? inside : outside) += 1;
        }
    }
    DeleteObject(ellipse);
    EXPECT_GT(inside, 0);
    EXPECT_EQ(outside, 0);
}

TEST_F(HotButtonDrawTest, BorderWidthZeroLeavesOnlyTheFace) {
    SetPropA(button_, RT_PROP_BORDER_WIDTH, Value(0));
    const Pixels p = Shot("border_zero");
    EXPECT_EQ(p.Count(kFace, RECT{0, 0, kWidth, kHeight}), kWidth * kHeight);
}

TEST_F(HotButtonDrawTest, FlatBorderIsAWidePenAndTheFaceStartsOnePixelIn) {
    SetWindowLongA(button_, GWL_STYLE, GetWindowLongA(button_, GWL_STYLE) | BS_FLAT);
    SetPropA(button_, RT_PROP_BORDER_WIDTH, Value(3));
    const Pixels p = Shot("flat_border_3");
    const std::string dark = DescribeColour(GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(At(p, 0, 0), dark);
    EXPECT_EQ(At(p, 0, kHeight / 2), dark);
    EXPECT_EQ(At(p, kWidth - 1, kHeight / 2), dark);
    EXPECT_EQ(At(p, 1, 1), DescribeColour(kFace));
    EXPECT_EQ(At(p, kWidth / 2, kHeight / 2), DescribeColour(kFace));
}

}  // namespace
