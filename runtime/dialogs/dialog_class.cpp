// "CorvantisDlgClass": the system dialog class under the runtime's own name.
#include <windows.h>

#include "rt_dialogs_internal.h"

int32_t RegisterDialogClass() {
    if (DialogClassAtom != 0) return 0;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (!GetClassInfoExA(nullptr, RT_SYSTEM_DIALOG_CLASS, &windowClass)) return 0;
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpszClassName = "CorvantisDlgClass";
    windowClass.lpszMenuName = nullptr;
    windowClass.lpfnWndProc = DefDlgProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.style &= ~CS_GLOBALCLASS;
    // The dialog manager's own bytes; never less than the system class keeps.
    if (windowClass.cbWndExtra < DLGWINDOWEXTRA) windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hIcon = nullptr;
    windowClass.hCursor = nullptr;
    windowClass.hIconSm = nullptr;
    DialogClassAtom = static_cast<uint16_t>(RegisterClassExA(&windowClass) & 0xFFFF);
    return 0;
}
