// Defining dialogs: records, definitions, dialog units, the dialog class and
// the list of dialogs freed at END.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "rt_dialogs_internal.h"
#include "rt_memory.h"
#include "test_support.h"

namespace {

// Records live in the fixture, as long as the list that points at them;
// every test leaves the process without listed dialogs.
class DialogCreateTest : public testing::Test {
protected:
    void TearDown() override { ResetRuntimeGlobals(); }
    WindowRecord records_[6]{};
};

int32_t SomeHandler() { return 0; }

TEST(DialogUnits, ConversionRoundsEachEdgeToNearestEven) {
    struct Row {
        int32_t cw, ch, x, y, width, height;
        DialogUnitRect expected;
    };
    const Row rows[] = {
        {6, 13, 0, 30, 330, 120, {0, 18, 220, 74}},
        {6, 13, 240, 78, 70, 20, {160, 48, 47, 12}},
        {6, 13, 14, 33, 250, 20, {9, 20, 167, 13}},
        // Ties: 0.5 -> 0, 1.5 -> 2, 2.5 -> 2, -1.5 -> -2.
        {8, 16, 1, 1, 0, 0, {0, 0, 0, 0}},
        {8, 16, 3, 3, 2, 2, {2, 2, 0, 0}},
        {8, 16, 5, 5, 0, 0, {2, 2, 0, 0}},
        {8, 16, -3, -3, 0, 0, {-2, -2, 0, 0}},
        // A zero size stays zero; sizes are differences of converted edges.
        {6, 13, 10, 10, 0, 0, {7, 6, 0, 0}},
    };
    for (const Row& r : rows) {
        const DialogUnitRect u = PixelsToDialogUnits(r.cw, r.ch, r.x, r.y, r.width, r.height);
        EXPECT_EQ(std::memcmp(&u, &r.expected, sizeof(u)), 0)
            << "(" << r.x << "," << r.y << "," << r.width << "," << r.height << ") -> (" << u.x << "," << u.y
            << "," << u.cx << "," << u.cy << ")";
    }
}

TEST(DialogUnits, RectanglesSharingAnEdgeShareItInDialogUnits) {
    for (int32_t x = 0; x < 200; ++x) {
        for (int32_t width = 1; width < 40; width += 3) {
            const DialogUnitRect left = PixelsToDialogUnits(6, 13, x, x, width, width);
            const DialogUnitRect right = PixelsToDialogUnits(6, 13, x + width, x + width, 17, 17);
            ASSERT_EQ(left.x + left.cx, right.x) << x << " " << width;
            ASSERT_EQ(left.y + left.cy, right.y) << x << " " << width;
        }
    }
}

TEST(DialogUnits, DialogFontGivesTheMeasuredBases) {
    // The bitmap "MS Sans Serif" at 8 pixels: average width 5, height 13.
    int32_t charWidth = 0;
    int32_t charHeight = 0;
    MeasureDialogFont(&charWidth, &charHeight);
    EXPECT_EQ(charWidth, 6);
    EXPECT_EQ(charHeight, 13);
}

TEST_F(DialogCreateTest, FillsTheRecordAndLeavesOtherFieldsAlone) {
    WindowRecord& record = records_[0];
    std::memset(&record, 0xAB, sizeof(record));
    WindowRecord sentinel = record;
    EXPECT_EQ(DialogCreate(&record, 0, 30, 330, 120, 0x80C80080, nullptr, "Enter Your Name", SomeHandler), 1);

    EXPECT_EQ(record.hwnd, nullptr);
    EXPECT_EQ(record.handler, SomeHandler);
    EXPECT_EQ(record.kind, 1);
    EXPECT_EQ(record.isDialog, 1);
    EXPECT_EQ(record.cursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(record.spareA, 0);
    EXPECT_EQ(record.spareB, 1);
    EXPECT_EQ(record.spareC, 0);
    EXPECT_EQ(record.spareD, 0);
    EXPECT_EQ(record.spareE, 0);
    EXPECT_EQ(record.bkMode, 0);
    EXPECT_EQ(record.rop2, 0);
    EXPECT_EQ(record.bkColor, 0u);
    EXPECT_EQ(record.noErase, 0);
    EXPECT_EQ(record.eventDc, nullptr);
    EXPECT_EQ(record.drawDc, nullptr);
    EXPECT_EQ(record.hooks, nullptr);
    // Fields a dialog does not use keep what the variable held.
    EXPECT_EQ(record.backBitmap, sentinel.backBitmap);
    EXPECT_EQ(record.font, sentinel.font);
    EXPECT_EQ(record.pen, sentinel.pen);
    EXPECT_EQ(record.mdiClient, sentinel.mdiClient);
    EXPECT_EQ(record.penPos.x, sentinel.penPos.x);
    EXPECT_EQ(record.windowColor, sentinel.windowColor);
    EXPECT_EQ(record.hasBackBitmap, sentinel.hasBackBitmap);

    const DialogDefinition* d = record.definition;
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(GlobalSize(GlobalHandle(d)), sizeof(DialogDefinition));
    EXPECT_EQ(d->style, 0x80C80080u | 0x900000C0u);
    EXPECT_EQ(d->exStyle, 0u);
    EXPECT_STREQ(d->title, "Enter Your Name");
    EXPECT_EQ(d->parent, nullptr);
    EXPECT_EQ(d->charWidth, 6);
    EXPECT_EQ(d->charHeight, 13);
    EXPECT_EQ(d->x, 0);
    EXPECT_EQ(d->y, 18);
    EXPECT_EQ(d->cx, 220);
    EXPECT_EQ(d->cy, 74);
    EXPECT_EQ(d->controls, nullptr);
    EXPECT_EQ(d->modeless, 0);
}

TEST_F(DialogCreateTest, StyleTitleAndOwner) {
    WindowRecord parent{};
    WindowRecord& a = records_[0];
    WindowRecord& b = records_[1];
    WindowRecord& c = records_[2];
    DialogCreate(&a, 0, 0, 10, 10, 0, nullptr, "", nullptr);
    EXPECT_EQ(a.definition->style, 0x900000C0u);
    EXPECT_STREQ(a.definition->title, "");
    EXPECT_EQ(a.handler, nullptr);

    // The owner is the parent's window as it is now; later changes do not reach it.
    DialogCreate(&b, 0, 0, 10, 10, 0, &parent, "b", nullptr);
    EXPECT_EQ(b.definition->parent, nullptr);
    parent.hwnd = GetDesktopWindow();
    EXPECT_EQ(b.definition->parent, nullptr);
    DialogCreate(&c, 0, 0, 10, 10, 0, &parent, "c", nullptr);
    EXPECT_EQ(c.definition->parent, GetDesktopWindow());

    // 255 characters are kept whole; longer titles are cut to 255.
    WindowRecord& full = records_[3];
    WindowRecord& longer = records_[4];
    const std::string t255(255, 'x');
    DialogCreate(&full, 0, 0, 10, 10, 0, nullptr, t255.c_str(), nullptr);
    EXPECT_EQ(std::string(full.definition->title), t255);
    const std::string t400(400, 'y');
    DialogCreate(&longer, 0, 0, 10, 10, 0, nullptr, t400.c_str(), nullptr);
    EXPECT_EQ(std::string(longer.definition->title), std::string(255, 'y'));
}

TEST_F(DialogCreateTest, ClassIsRegisteredOnceAsACopyOfTheDialogClass) {
    WindowRecord& a = records_[0];
    WindowRecord& b = records_[1];
    DialogCreate(&a, 0, 0, 10, 10, 0, nullptr, "a", nullptr);
    const uint16_t atom = DialogClassAtom;
    ASSERT_NE(atom, 0);
    DialogCreate(&b, 0, 0, 10, 10, 0, nullptr, "b", nullptr);
    // Registering again would fail and clear the atom.
    EXPECT_EQ(DialogClassAtom, atom);

    WNDCLASSEXA info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "CorvantisDlgClass", &info));
    EXPECT_GE(info.cbWndExtra, DLGWINDOWEXTRA);
    EXPECT_EQ(info.style & CS_GLOBALCLASS, 0u);
    EXPECT_EQ(info.hCursor, nullptr);
    EXPECT_EQ(info.hIcon, nullptr);
    HWND window = CreateWindowExA(0, "CorvantisDlgClass", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(static_cast<uint16_t>(GetClassWord(window, GCW_ATOM)), atom);
    DestroyWindow(window);
}

TEST_F(DialogCreateTest, DialogsAreListedInDefinitionOrder) {
    for (WindowRecord& r : records_) DialogCreate(&r, 0, 0, 10, 10, 0, nullptr, "r", nullptr);
    const WindowListNode* node = WindowList;
    for (const WindowRecord& r : records_) {
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->record, &r);
        node = node->next;
    }
    EXPECT_EQ(node, nullptr);
}

// Hand-made control nodes as the control definitions will hang them on.
void AddControl(WindowRecord* record, const char* text) {
    auto* control = static_cast<ControlDefinition*>(GlobalBlockAlloc(BLOCK_RECORD, sizeof(ControlDefinition)));
    control->text = static_cast<char*>(GlobalBlockAlloc(BLOCK_TEXT, static_cast<int32_t>(std::strlen(text)) + 1));
    std::strcpy(control->text, text);
    ControlDefinition** link = &record->definition->controls;
    while (*link) link = &(*link)->next;
    *link = control;
}

TEST_F(DialogCreateTest, EndFreesEveryDefinitionControlAndNode) {
    // The first definition also loads fonts and classes; count after it.
    DialogCreate(&records_[5], 0, 0, 10, 10, 0, nullptr, "warm-up", nullptr);
    WindowListFree();
    const int before = LiveGlobalBlocks();
    WindowRecord& withControls = records_[0];
    WindowRecord& withoutControls = records_[1];
    WindowRecord& redefined = records_[2];
    DialogCreate(&withControls, 0, 0, 10, 10, 0, nullptr, "a", nullptr);
    AddControl(&withControls, "one");
    AddControl(&withControls, "two");
    DialogCreate(&withoutControls, 0, 0, 10, 10, 0, nullptr, "b", nullptr);
    DialogCreate(&redefined, 0, 0, 10, 10, 0, nullptr, "c", nullptr);
    AddControl(&redefined, "old");
    // 3 nodes, 3 definitions, 3 controls with texts.
    EXPECT_EQ(LiveGlobalBlocks() - before, 12);

    // Defining the same record again replaces its definition: the old one and
    // its controls go at once, the record stays listed once.
    DialogCreate(&redefined, 5, 5, 20, 20, 0, nullptr, "c2", nullptr);
    EXPECT_EQ(LiveGlobalBlocks() - before, 10);
    EXPECT_STREQ(redefined.definition->title, "c2");
    int listed = 0;
    for (const WindowListNode* node = WindowList; node; node = node->next) listed += node->record == &redefined;
    EXPECT_EQ(listed, 1);

    EXPECT_EQ(WindowListFree(), 0);
    EXPECT_EQ(LiveGlobalBlocks(), before);
}

HGLOBAL WINAPI RefuseGlobalAlloc(UINT, SIZE_T) { return nullptr; }

TEST_F(DialogCreateTest, WithoutMemoryNothingIsDefinedOrListed) {
    WindowRecord& record = records_[0];
    {
        ScopedImportHook refuse("kernel32.dll", "GlobalAlloc", reinterpret_cast<void*>(RefuseGlobalAlloc));
        ASSERT_TRUE(refuse.Installed());
        EXPECT_EQ(DialogCreate(&record, 0, 0, 10, 10, 0, nullptr, "x", nullptr), 0);
    }
    EXPECT_EQ(record.definition, nullptr);
    EXPECT_EQ(WindowList, nullptr);
}

// The template keeps each coordinate in 16 signed bits: a dialog whose
// rectangle does not fit is refused, and nothing is defined or listed.
TEST_F(DialogCreateTest, RectanglesTheTemplateCannotHoldAreRefused) {
    struct Row {
        int32_t x, y, width, height;
    };
    const Row rows[] = {{100000, 0, 10, 10}, {-100000, 0, 10, 10}, {0, 60000, 10, 10},
                        {0, 0, 60000, 10},   {0, 0, 10, -60000},   {0, 0, INT32_MAX, INT32_MAX}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.x << "," << row.y << " " << row.width << "x" << row.height);
        WindowRecord record{};
        EXPECT_EQ(DialogCreate(&record, row.x, row.y, row.width, row.height, 0, nullptr, "x", nullptr), 0);
        EXPECT_EQ(record.definition, nullptr);
        EXPECT_EQ(WindowList, nullptr);
    }
    // A defined dialog keeps its definition when a new one is refused.
    WindowRecord& record = records_[0];
    ASSERT_EQ(DialogCreate(&record, 0, 0, 10, 10, 0, nullptr, "kept", nullptr), 1);
    const DialogDefinition* kept = record.definition;
    EXPECT_EQ(DialogCreate(&record, 0, 0, 100000, 10, 0, nullptr, "refused", nullptr), 0);
    EXPECT_EQ(record.definition, kept);
    EXPECT_STREQ(record.definition->title, "kept");
}

}  // namespace
