// The in-memory dialog template, byte for byte.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "rt_dialogs_internal.h"
#include "rt_memory.h"
#include "test_support.h"

namespace {

// The name-entry dialog as the application defines it, with bases 6 and 13.
class DialogTemplateTest : public testing::Test {
protected:
    void TearDown() override { ResetRuntimeGlobals(); }
    void SetUp() override {
        DialogCreate(&record_, 0, 30, 330, 120, 0x80C80080, nullptr, "Enter Your Name", nullptr);
        ASSERT_EQ(record_.definition->charWidth, 6);
        ASSERT_EQ(record_.definition->charHeight, 13);
    }
    std::vector<unsigned char> Write(const DialogDefinition* definition) const {
        const int32_t size = DialogTemplateSize(definition);
        void* block = nullptr;
        EXPECT_EQ(GlobalArrayAlloc(&block, size, 1), 0);
        DialogTemplateWrite(block, definition);
        const auto* bytes = static_cast<const unsigned char*>(block);
        std::vector<unsigned char> result(bytes, bytes + size);
        GlobalArrayFree(block);
        return result;
    }
    WindowRecord record_{};
};

// Little-endian helpers for the expected bytes.
void Word(std::vector<unsigned char>& out, int value) {
    out.push_back(static_cast<unsigned char>(value & 0xFF));
    out.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
}
void Dword(std::vector<unsigned char>& out, unsigned value) {
    Word(out, static_cast<int>(value & 0xFFFF));
    Word(out, static_cast<int>(value >> 16));
}
void Wide(std::vector<unsigned char>& out, const char* ascii) {
    for (const char* c = ascii; *c; ++c) Word(out, static_cast<unsigned char>(*c));
    Word(out, 0);
}
size_t AlignUp(size_t offset) { return (offset + 3) & ~static_cast<size_t>(3); }
void PadTo4(std::vector<unsigned char>& out) {
    while (out.size() % 4) out.push_back(0);
}

TEST_F(DialogTemplateTest, NameEntryDialogMatchesTheWorkedExample) {
    ControlAdd(&record_, CONTROL_LABEL, "Your Name", 14, 14, 70, 20, 0x5000010B, 1);
    ControlAdd(&record_, CONTROL_EDIT, "", 14, 33, 250, 20, 0x50800000, 2);
    ControlAdd(&record_, CONTROL_PUSH_BUTTON, "OK", 240, 78, 70, 20, 0x50000000, 3);
    EXPECT_EQ(DialogTemplateSize(record_.definition), 260);

    std::vector<unsigned char> e;
    Dword(e, 0x90C800C0);  //   0 style
    Dword(e, 0);           //   4 extended style
    Word(e, 3);            //   8 item count
    Word(e, 0);            //  10 x
    Word(e, 18);           //  12 y
    Word(e, 220);          //  14 cx
    Word(e, 74);           //  16 cy
    Word(e, 0);            //  18 menu: none
    Wide(e, "CorvantisDlgClass");  // 20 class, 36 bytes
    Wide(e, "Enter Your Name");    // 56 title, 32 bytes
    Word(e, 8);                    // 88 point size
    Wide(e, "MS Sans Serif");      // 90 typeface, 28 bytes
    PadTo4(e);                     // 118 -> 120
    ASSERT_EQ(e.size(), 120u);
    Dword(e, 0x5000010B);  // 120 label: style
    Dword(e, 0);           //     extended style
    Word(e, 9);            //     x
    Word(e, 9);            //     y
    Word(e, 47);           //     cx
    Word(e, 12);           //     cy
    Word(e, 1);            //     identifier
    Wide(e, "STATIC");     //     class, 14 bytes
    Wide(e, "Your Name");  //     text, 20 bytes
    Word(e, 0);            //     creation data
    PadTo4(e);             // 174 -> 176
    ASSERT_EQ(e.size(), 176u);
    Dword(e, 0x50800000);  // 176 edit: style
    Dword(e, 0x200);       //     WS_EX_CLIENTEDGE
    Word(e, 9);
    Word(e, 20);
    Word(e, 167);
    Word(e, 13);
    Word(e, 2);
    Wide(e, "EDIT");       //     10 bytes
    Wide(e, "");           //     empty text, one zero unit
    Word(e, 0);
    PadTo4(e);
    ASSERT_EQ(e.size(), 208u);
    Dword(e, 0x5000000B);  // 208 button: owner-drawn
    Dword(e, 0);
    Word(e, 160);
    Word(e, 48);
    Word(e, 47);
    Word(e, 12);
    Word(e, 3);
    Wide(e, "BUTTON");
    Wide(e, "OK");
    Word(e, 0);
    ASSERT_EQ(e.size(), 248u);
    e.resize(260, 0);  // the unused rest of the block stays zero

    const std::vector<unsigned char> actual = Write(record_.definition);
    ASSERT_EQ(actual.size(), e.size());
    for (size_t i = 0; i < e.size(); ++i) EXPECT_EQ(actual[i], e[i]) << "byte " << i;
}

TEST_F(DialogTemplateTest, WithoutControlsOnlyTheHeader) {
    const std::vector<unsigned char> t = Write(record_.definition);
    EXPECT_EQ(t[8] | t[9] << 8, 0);
    // Header ends after the typeface at 118, padded to 120; nothing after.
    for (size_t i = 118; i < t.size(); ++i) EXPECT_EQ(t[i], 0) << i;
    EXPECT_EQ(t[116], 0);  // typeface terminator
    EXPECT_EQ(t[114], 'f');
}

// Items start on multiples of 4 whatever the string lengths before them, and
// the writer stays inside the size it reported.
TEST_F(DialogTemplateTest, ItemsAreAlignedForEveryStringLength) {
    for (int titleLength = 0; titleLength < 8; ++titleLength) {
        for (int textLength = 0; textLength < 8; ++textLength) {
            SCOPED_TRACE(testing::Message() << "title " << titleLength << " text " << textLength);
            // A listed record lives as long as the list, as a program's does.
            static WindowRecord records[8][8];
            WindowRecord& record = records[titleLength][textLength];
            DialogCreate(&record, 0, 0, 100, 100, 0, nullptr, std::string(titleLength, 't').c_str(), nullptr);
            ControlAdd(&record, CONTROL_EDIT, std::string(textLength, 'x').c_str(), 1, 2, 30, 10, 0, 10);
            ControlAdd(&record, CONTROL_LABEL, "second", 1, 20, 30, 10, 0, 11);
            const std::vector<unsigned char> t = Write(record.definition);
            size_t at = AlignUp(86 + 2 * static_cast<size_t>(titleLength + 1));
            ASSERT_EQ(at % 4, 0u);
            EXPECT_EQ(t[at + 16], 10) << "first item identifier";
            at = at + 18 + 2 * 5 + 2 * static_cast<size_t>(textLength + 1) + 2;
            at = AlignUp(at);
            EXPECT_EQ(t[at + 16], 11) << "second item identifier";
            EXPECT_LE(at + 18 + 2 * 7 + 2 * 7 + 2, t.size());
        }
    }
}

TEST_F(DialogTemplateTest, CoordinatesAreSignedWordsAndIdentifiersLowWords) {
    ControlDefinitionAppend(&record_, 0, "STATIC", "", 0, -2, 0x2345, 32767, -32768, 0x10005, 7, 0);
    const std::vector<unsigned char> t = Write(record_.definition);
    const size_t item = 120;
    EXPECT_EQ(t[item + 8] | t[item + 9] << 8, 0xFFFE);
    EXPECT_EQ(t[item + 10] | t[item + 11] << 8, 0x2345);
    EXPECT_EQ(t[item + 12] | t[item + 13] << 8, 0x7FFF);
    EXPECT_EQ(t[item + 14] | t[item + 15] << 8, 0x8000);
    EXPECT_EQ(t[item + 16] | t[item + 17] << 8, 5);
}

// What the template cannot hold is refused before anything is written: a
// coordinate outside 16 bits (in a definition changed after ControlAdd), more
// than 65535 items, or more than 2 GB of texts. Showing such a definition
// creates no window.
TEST_F(DialogTemplateTest, DefinitionsTheTemplateCannotHoldAreRefused) {
    DialogDefinition* d = record_.definition;
    ControlAdd(&record_, CONTROL_EDIT, "", 0, 0, 10, 10, 0, 1);
    ASSERT_GT(DialogTemplateSize(d), 0);
    int32_t* const fields[] = {&d->x, &d->cy, &d->controls->x, &d->controls->cx};
    for (int32_t* field : fields) {
        const int32_t kept = *field;
        for (int32_t value : {40000, -40000}) {
            *field = value;
            EXPECT_EQ(DialogTemplateSize(d), 0) << value;
            EXPECT_EQ(DialogShow(&record_, nullptr), nullptr);
        }
        *field = kept;
    }

    // Nodes made by hand: far more items, or far more text, than fit.
    ControlDefinition* const own = d->controls;
    std::vector<ControlDefinition> many(65536);
    for (size_t i = 0; i < many.size(); ++i) {
        std::strcpy(many[i].className, "STATIC");
        many[i].id = static_cast<int32_t>(i + 1);
        many[i].next = i + 1 < many.size() ? &many[i + 1] : nullptr;
    }
    d->controls = &many[1];  // 65535 items fit
    EXPECT_GT(DialogTemplateSize(d), 0);
    // A definition that is full refuses one more control.
    ControlAdd(&record_, CONTROL_EDIT, "", 0, 0, 10, 10, 0, 1);  // 1 is free in 16 bits
    EXPECT_EQ(many.back().next, nullptr);
    d->controls = &many[0];
    EXPECT_EQ(DialogTemplateSize(d), 0);
    EXPECT_EQ(DialogShow(&record_, nullptr), nullptr);

    std::string huge(300u * 1000 * 1000, 'x');
    for (size_t i = 0; i < 4; ++i) {
        many[i].text = &huge[0];
        many[i].next = i < 3 ? &many[i + 1] : nullptr;
    }
    EXPECT_EQ(DialogTemplateSize(d), 0);
    EXPECT_EQ(DialogShow(&record_, nullptr), nullptr);
    EXPECT_EQ(DialogDoModal(&record_, nullptr), -1);
    EXPECT_EQ(record_.hwnd, nullptr);
    d->controls = own;
}

TEST_F(DialogTemplateTest, TextsAreConvertedWithTheAnsiCodePage) {
    const char title[] = "Caf\xE9 \xC4";
    static WindowRecord record;  // listed: lives as long as the list
    DialogCreate(&record, 0, 0, 10, 10, 0, nullptr, title, nullptr);
    WCHAR expected[16] = {};
    const int units = MultiByteToWideChar(CP_ACP, 0, title, -1, expected, 16);
    ASSERT_GT(units, 0);
    const std::vector<unsigned char> t = Write(record.definition);
    for (int i = 0; i < units; ++i) {
        EXPECT_EQ(t[56 + 2 * i] | t[57 + 2 * i] << 8, expected[i]) << i;
    }
    EXPECT_NE(expected[3], 0xE9 + 0x100) << "a real conversion";
}

// Whatever the definition holds, nothing is written past the block: the block
// ends exactly where an inaccessible page begins.
TEST_F(DialogTemplateTest, NeverWritesPastTheBlockItWasSized) {
    DialogDefinition* d = record_.definition;
    std::memset(d->title, 'T', sizeof(d->title));  // no terminator
    ControlAdd(&record_, CONTROL_EDIT, std::string(1000, 'x').c_str(), 0, 0, 10, 10, 0, 1);
    ControlAdd(&record_, CONTROL_LABEL, "", 0, 0, 10, 10, 0, 2);
    std::memset(d->controls->next->className, 'C', sizeof(d->controls->next->className));
    const size_t size = static_cast<size_t>(DialogTemplateSize(d));
    const size_t page = 4096;
    const size_t pages = (size + page - 1) / page + 1;
    auto* base = static_cast<unsigned char*>(VirtualAlloc(nullptr, pages * page, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    DWORD old = 0;
    VirtualProtect(base + (pages - 1) * page, page, PAGE_NOACCESS, &old);
    unsigned char* block = base + (pages - 1) * page - size;
    EXPECT_EQ(DialogTemplateWrite(block, d), 0);
    // Title cut at its field: 255 characters and the terminator.
    EXPECT_EQ(block[56 + 2 * 255], 0);
    EXPECT_EQ(block[56 + 2 * 254], 'T');
    EXPECT_EQ(DialogTemplateWrite(nullptr, d), 0);
    VirtualFree(base, 0, MEM_RELEASE);
}

}  // namespace
