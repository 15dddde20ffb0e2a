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
    DialogCreate(&NameDialog, 0, 30, 330, 120, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, nullptr,
                 "Enter Your Name", NameDialogHandler);
    ControlAdd(&NameDialog, CONTROL_LABEL, "Your Name", 14, 14, 70, 20, WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_SIMPLE,
               kLabelId);
    ControlAdd(&NameDialog, CONTROL_EDIT, "", 14, 33, 250, 20, WS_CHILD | WS_VISIBLE | WS_BORDER, kEditId);
    ControlAdd(&NameDialog, CONTROL_PUSH_BUTTON, "OK", 240, 78, 70, 20, WS_CHILD | WS_VISIBLE, kButtonId);
    DialogShow(&NameDialog, nullptr);
    // Without its window the program could never be seen or closed: it says
    // so and ends instead of waiting for ever.
    if (!NameDialog.hwnd) {
        static const char kNoWindow[] = "name_entry: the dialog could not be made\n";
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), kNoWindow, sizeof kNoWindow - 1, &written, nullptr);
        ExitCode = 1;
        ProgramEnd();
    }
    do {
        WaitEvents(0);
    } while (NameDialog.hwnd);
    ProgramEnd();
}
