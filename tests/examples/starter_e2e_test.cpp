// The starter program, built outside this tree against the installed
// package, started and used as a person would: its dialog shows, its button
// closes it, and it ends with exit code 0.
#include <gtest/gtest.h>

#include "desktop_driver.h"
#include "pixels.h"

namespace {

TEST(StarterProgram, BuiltAgainstTheInstalledPackageShowsItsDialogAndEnds) {
    StartedProgram program(RT_STARTER);
    ASSERT_TRUE(program.Started()) << RT_STARTER << ": build it with rt_build_starter (cmake/harness.sh)";
    HWND dialog = WaitForWindow(nullptr, "Starter");
    ASSERT_NE(dialog, nullptr) << "the dialog did not appear";
    const auto labels = ChildrenOfClass(dialog, "Static");
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(WindowText(labels[0]), "Hello from the runtime.");
    EXPECT_TRUE(program.WaitIdle());
    SavePng(CaptureScreen(WindowRect(dialog)), "starter_dialog");
    const auto buttons = ChildrenOfClass(dialog, "Button");
    ASSERT_EQ(buttons.size(), 1u);
    ClickCentreOf(buttons[0]);
    EXPECT_TRUE(WaitForWindowGone(dialog));
    EXPECT_EQ(program.ExitCode(), 0u);
}

}  // namespace
