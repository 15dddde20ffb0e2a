// The name-entry application: a modeless dialog with a label, an edit box and
// an owner-drawn "OK" button; "OK" greets the name in a centred message box;
// closing the dialog ends the program.
#include "rt_dialogs.h"
#include "rt_events.h"
#include "rt_memory.h"
#include "rt_program.h"
#include "rt_strings.h"
#include "rt_winutil.h"

namespace {

char NameText[STRING_VARIABLE_SIZE];
char GreetingText[STRING_VARIABLE_SIZE];
WindowRecord NameDialog;

constexpr int32_t kLabelId = 1;
constexpr int32_t kEditId = 2;
constexpr int32_t kButtonId = 3;

int32_t ShowGreeting() {
    StrAssign(NameText, GetControlText(&NameDialog, kEditId));

    // "Your name is " + NameText + "." with each temporary released as soon
    // as it has been used.
    char* const suffix = StrDuplicate(".");
    char* const name = StrDuplicate(NameText);
    char* const prefixed = StrConcat("Your name is ", name);
    HeapRelease(name);
    char* const greeting = StrConcat(prefixed, suffix);
    HeapRelease(prefixed);
    HeapRelease(suffix);
    StrAssign(GreetingText, greeting);

    MessageBoxCentered(&NameDialog, GreetingText, "Your Name", 0);
    return 0;
}

int32_t NameDialogHandler() {
    switch (EventMessage) {
        case WM_INITDIALOG:
            CenterWindow(&NameDialog);
            break;
        case EVENT_CLOSE:
            DialogClose(&NameDialog, 1);
            break;
        case EVENT_CONTROL:
            if (EventControlId == kButtonId && EventNotifyCode == BN_CLICKED) ShowGreeting();
            break;
        default:
            break;
    }
    return 0;
}

}  // namespace

void ApplicationScript() {
    DialogCreate(&NameDialog, 0, 30, 330, 120, 0x80C80080, nullptr, "Enter Your Name", NameDialogHandler);
    ControlAdd(&NameDialog, 7, "Your Name", 14, 14, 70, 20, 0x5000010B, kLabelId);
    ControlAdd(&NameDialog, 4, "", 14, 33, 250, 20, 0x50800000, kEditId);
    ControlAdd(&NameDialog, 1, "OK", 240, 78, 70, 20, 0x50000000, kButtonId);
    DialogShow(&NameDialog, nullptr);
    do {
        WaitEvents(0);
    } while (NameDialog.hwnd);
    ProgramEnd();
}
