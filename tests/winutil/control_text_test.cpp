// Reading a control's text into a heap string.
#include <gtest/gtest.h>

#include <string>

#include "rt_dialogs_internal.h"
#include "rt_memory.h"
#include "rt_strings.h"
#include "rt_winutil_internal.h"
#include "test_support.h"

namespace {

class ControlTextTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(HeapStart(), 1);
        DialogCreate(&dialog_, 0, 0, 300, 100, 0, nullptr, "d", nullptr);
        ControlAdd(&dialog_, CONTROL_EDIT, "", 10, 10, 250, 20, ES_AUTOHSCROLL, 2);
        ASSERT_NE(DialogShow(&dialog_, nullptr), nullptr);
    }
    void TearDown() override {
        DestroyWindow(dialog_.hwnd);
        ResetRuntimeGlobals();
        HeapShutdown();
    }
    std::string Read(int32_t id) {
        char* text = GetControlText(&dialog_, id);
        EXPECT_NE(text, nullptr);
        std::string result = text ? text : "<null>";
        HeapRelease(text);
        return result;
    }
    WindowRecord dialog_{};
};

TEST_F(ControlTextTest, ReadsTheWholeTextWithoutTheVariableLimit) {
    EXPECT_EQ(Read(2), "");
    SetDlgItemTextA(dialog_.hwnd, 2, "Bob");
    EXPECT_EQ(Read(2), "Bob");
    const std::string longText(300, 'z');
    SetDlgItemTextA(dialog_.hwnd, 2, longText.c_str());
    EXPECT_EQ(Read(2), longText);
}

TEST_F(ControlTextTest, MissingControlOrWindowGivesAnEmptyString) {
    EXPECT_EQ(Read(99), "");
    WindowRecord closed{};
    char* text = GetControlText(&closed, 2);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "");
    HeapRelease(text);
    text = GetControlText(nullptr, 2);
    ASSERT_NE(text, nullptr);
    HeapRelease(text);
}

LPVOID WINAPI RefuseHeapAlloc(HANDLE, DWORD, SIZE_T) { return nullptr; }

TEST_F(ControlTextTest, WithoutHeapTheResultIsNullAndAssignsEmpty) {
    SetDlgItemTextA(dialog_.hwnd, 2, "Bob");
    ScopedImportHook refuse("kernel32.dll", "HeapAlloc", reinterpret_cast<void*>(RefuseHeapAlloc));
    ASSERT_TRUE(refuse.Installed());
    char variable[255] = "previous";
    char* text = GetControlText(&dialog_, 2);
    EXPECT_EQ(text, nullptr);
    StrAssign(variable, text);
    EXPECT_STREQ(variable, "");
}

}  // namespace
