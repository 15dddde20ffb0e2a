// The button and label subclass procedures: images named by the control's
// text (files and resources of this executable), and hot tracking with the
// real mouse pointer.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "gdi_ledger.h"
#include "pixels.h"
#include "reflecting_parent.h"
#include "rt_controls_internal.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);      // resource 12
constexpr COLORREF kGreen = RGB(0, 255, 0);    // resource 14
constexpr COLORREF kBlue = RGB(0, 0, 255);     // resource 7
constexpr COLORREF kYellow = RGB(255, 255, 0); // resource LOGO
constexpr COLORREF kFileColour = RGB(255, 0, 255);

// A 4x4 24-bit bitmap file of one colour, in the temporary folder (a path
// with a drive colon).
std::string WriteBitmapFile(COLORREF colour) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "rt_face.bmp";
    unsigned char pixels[4 * 12];
    for (int i = 0; i < 16; ++i) {
        pixels[3 * i] = GetBValue(colour);
        pixels[3 * i + 1] = GetGValue(colour);
        pixels[3 * i + 2] = GetRValue(colour);
    }
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = 4;
    info.biHeight = 4;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + sizeof(pixels);
    FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(&file, sizeof(file), 1, out);
    std::fwrite(&info, sizeof(info), 1, out);
    std::fwrite(pixels, sizeof(pixels), 1, out);
    std::fclose(out);
    return path;
}

// The colour of the image in a control's slot; 0xFFFFFFFF when there is none.
COLORREF ImageColour(HWND control, UINT getImageMessage) {
    auto* image = reinterpret_cast<HBITMAP>(SendMessageA(control, getImageMessage, IMAGE_BITMAP, 0));
    if (!image) return 0xFFFFFFFF;
    return CaptureBitmap(image).At(0, 0);
}

TEST(ImageLoading, TextNamesAFileOrAResourceOfTheProgram) {
    ReflectingParent parent;
    const std::string file = WriteBitmapFile(kFileColour);
    const std::string tooLong = "C:" + std::string(300, 'x');
    struct Row {
        std::string text;
        COLORREF expected;
    };
    const Row rows[] = {
        {"12", kRed},
        {"14", kGreen},
        {"12.5", kRed},      // ties to even
        {"13.5", kGreen},
        {"LOGO", kYellow},
        {"7 up", kBlue},     // the leading number
        {file, kFileColour},
        {"-7", 0xFFFFFFFF},  // a name, and there is none
        {"0", 0xFFFFFFFF},
        {"images\\face.bmp", 0xFFFFFFFF},  // no colon: a resource name
        {"70000", 0xFFFFFFFF},             // no 16-bit number: a name
        {"C:\\no\\such\\file.bmp", 0xFFFFFFFF},
        {tooLong, 0xFFFFFFFF},             // beyond the 260-byte buffer: no image
    };
    HWND button = parent.AddChild("BUTTON", "", BS_PUSHBUTTON | BS_BITMAP, 0, 0, 60, 30, 1);
    ControlSubclass(button, CONTROL_PUSH_BUTTON);
    HWND hotButton = parent.AddChild("BUTTON", "", BS_PUSHBUTTON | BS_BITMAP, 0, 40, 60, 30, 2);
    ControlSubclass(hotButton, CONTROL_HOT_BUTTON);
    HWND label = parent.AddChild("STATIC", "", SS_BITMAP, 0, 80, 60, 30, 3);
    ControlSubclass(label, CONTROL_LABEL);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text.substr(0, 40));
        SetWindowTextA(button, row.text.c_str());
        SetWindowTextA(hotButton, row.text.c_str());
        SetWindowTextA(label, row.text.c_str());
        EXPECT_EQ(DescribeColour(ImageColour(button, BM_GETIMAGE)), DescribeColour(row.expected));
        EXPECT_EQ(DescribeColour(ImageColour(hotButton, BM_GETIMAGE)), DescribeColour(row.expected));
        EXPECT_EQ(DescribeColour(ImageColour(label, STM_GETIMAGE)), DescribeColour(row.expected));
    }
    // Loaded as a DIB section.
    SetWindowTextA(button, "12");
    DIBSECTION section{};
    EXPECT_EQ(GetObjectA(reinterpret_cast<HBITMAP>(SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0)),
                         sizeof(section), &section),
              static_cast<int>(sizeof(section)));
    DeleteFileA(file.c_str());
}

TEST(ImageLoading, OnlyBitmapStylesLoadImages) {
    ReflectingParent parent;
    HWND ownerDrawn = parent.AddChild("BUTTON", "", BS_OWNERDRAW, 0, 0, 60, 30, 1);
    ControlSubclass(ownerDrawn, CONTROL_PUSH_BUTTON);
    SetWindowTextA(ownerDrawn, "12");
    EXPECT_EQ(SendMessageA(ownerDrawn, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    char text[8];
    GetWindowTextA(ownerDrawn, text, sizeof(text));
    EXPECT_STREQ(text, "12");  // the caption is stored as usual

    HWND simpleLabel = parent.AddChild("STATIC", "", SS_SIMPLE, 0, 40, 60, 30, 2);
    ControlSubclass(simpleLabel, CONTROL_LABEL);
    SetWindowTextA(simpleLabel, "12");
    EXPECT_EQ(SendMessageA(simpleLabel, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
}

TEST(ImageLoading, ReplacedImagesAreDeletedAndTheLastGoesWithTheControl) {
    ReflectingParent parent;
    GdiLedger ledger;
    ASSERT_TRUE(ledger.Installed());
    HWND button = parent.AddChild("BUTTON", "", BS_PUSHBUTTON | BS_BITMAP, 0, 0, 60, 30, 1);
    ControlSubclass(button, CONTROL_PUSH_BUTTON);
    const size_t base = ledger.Live();  // the control's brush
    SetWindowTextA(button, "12");
    auto* first = reinterpret_cast<HGDIOBJ>(SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(first, nullptr);
    SetWindowTextA(button, "14");
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(ledger.Live(), base + 1);
    SetWindowTextA(button, "nothing");
    EXPECT_EQ(SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_EQ(ledger.Live(), base);
    SetWindowTextA(button, "LOGO");
    DestroyWindow(button);
    EXPECT_EQ(ledger.Live(), 0u);
    EXPECT_EQ(ledger.ForeignDeletions(), 0u);
}

TEST(ImageLoading, TheCreationTextIsLoadedWhenTheProcedureIsInstalled) {
    ReflectingParent parent;
    HWND button = parent.AddChild("BUTTON", "14", BS_PUSHBUTTON | BS_BITMAP, 0, 0, 60, 30, 1);
    ControlSubclass(button, CONTROL_PUSH_BUTTON);
    EXPECT_EQ(DescribeColour(ImageColour(button, BM_GETIMAGE)), DescribeColour(kGreen));
    HWND label = parent.AddChild("STATIC", "LOGO", SS_BITMAP, 0, 40, 60, 30, 2);
    ControlSubclass(label, CONTROL_LABEL);
    EXPECT_EQ(DescribeColour(ImageColour(label, STM_GETIMAGE)), DescribeColour(kYellow));
}

// Pumps messages until the condition holds or two seconds have passed.
template <typename Condition>
bool PumpUntil(Condition condition) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > 20000) return false;  // generous: slow under emulation
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
    return true;
}

void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start >= milliseconds; });
}

TEST(HotTracking, EachVisitOfThePointerRepaintsExactlyTwice) {
    ReflectingParent parent;
    HWND button = parent.AddChild("BUTTON", "Hot", BS_OWNERDRAW, 40, 40, 100, 40, 9);
    ControlSubclass(button, CONTROL_HOT_BUTTON);
    RECT r;
    GetWindowRect(button, &r);
    SetCursorPos(r.left - 30, r.top - 30);
    PumpFor(200);
    // A move handled after the pointer has left again: not hot, for good or
    // for the visits below.
    SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    PumpFor(200);
    EXPECT_EQ(GetPropA(button, RT_PROP_HOT), nullptr);
    for (int visit = 0; visit < 2; ++visit) {
        SCOPED_TRACE(visit);
        const int before = parent.draws[button];
        SetCursorPos(r.left + 10, r.top + 10);
        ASSERT_TRUE(PumpUntil([&] { return GetPropA(button, RT_PROP_HOT) != nullptr; }));
        PumpFor(100);
        EXPECT_EQ(parent.draws[button], before + 1);
        // More moves inside: no repaint.
        for (int step = 1; step <= 4; ++step) {
            SetCursorPos(r.left + 10 + 15 * step, r.top + 10 + step);
            PumpFor(40);
        }
        EXPECT_EQ(parent.draws[button], before + 1);
        SetCursorPos(r.right + 40, r.bottom + 40);
        ASSERT_TRUE(PumpUntil([&] { return GetPropA(button, RT_PROP_HOT) == nullptr; }));
        PumpFor(100);
        EXPECT_EQ(parent.draws[button], before + 2);
    }
}

}  // namespace
