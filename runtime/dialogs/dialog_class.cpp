// "CorvantisDlgClass": the system dialog class under the runtime's own name.
#include <windows.h>

#include "rt_dialogs_internal.h"

int32_t RegisterDialogClass() {
    if (DialogClassAtom != 0) return 0;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (!GetClassInfoExA(nullptr, RT_SYSTEM_DIALOG_CLASS, &windowClass)) return 0;
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpszClassName = kDialogClassName;
    windowClass.lpszMenuName = nullptr;
    windowClass.lpfnWndProc = DefDlgProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.style &= ~CS_GLOBALCLASS;
    // The dialog manager's own bytes, never fewer than the system class
    // keeps, then one aligned pointer of the runtime's: the record.
    constexpr int kPointer = static_cast<int>(sizeof(void*));
    const int managerBytes = windowClass.cbWndExtra < DLGWINDOWEXTRA ? DLGWINDOWEXTRA : windowClass.cbWndExtra;
    windowClass.cbWndExtra = (managerBytes + kPointer - 1) / kPointer * kPointer + kPointer;
    windowClass.hIcon = nullptr;
    windowClass.hCursor = nullptr;
    windowClass.hIconSm = nullptr;
    DialogClassAtom = static_cast<uint16_t>(RegisterClassExA(&windowClass) & 0xFFFF);
    return 0;
}
