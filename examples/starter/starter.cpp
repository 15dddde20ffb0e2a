// The smallest whole program: a dialog with a greeting and a button, its
// handler, the wait loop, END.
#include <corvantis.h>

namespace {

WindowRecord Starter;
constexpr int32_t kCloseId = 2;

// Reads the event variables; 0 lets the dialog manager do the rest.
int32_t StarterHandler() {
    if (EventMessage == WM_INITDIALOG) CenterWindow(&Starter);
    if (EventMessage == EVENT_CLOSE) DialogClose(&Starter, 0);
    if (EventMessage == EVENT_CONTROL && EventControlId == kCloseId && EventNotifyCode == BN_CLICKED) {
        DialogClose(&Starter, 0);
    }
    return 0;
}

}  // namespace

// Runs in line at start-up; reaching its end (or ProgramEnd) is END.
void ApplicationScript() {
    DialogCreate(&Starter, 0, 0, 260, 110, WS_CAPTION | WS_SYSMENU, nullptr, "Starter", StarterHandler);
    ControlAdd(&Starter, CONTROL_LABEL, "Hello from the runtime.", 16, 16, 220, 20, 0, 1);
    ControlAdd(&Starter, CONTROL_PUSH_BUTTON, "Close", 160, 60, 80, 24, BS_DEFPUSHBUTTON | WS_TABSTOP, kCloseId);
    DialogShow(&Starter, nullptr);
    while (Starter.hwnd) WaitEvents(0);
    ProgramEnd();
}
