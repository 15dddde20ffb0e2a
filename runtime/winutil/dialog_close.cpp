// Closing a dialog and reading a control's text.
#include "rt_dialogs.h"
#include "rt_memory.h"
#include "rt_winutil_internal.h"

int32_t DialogClose(WindowRecord* record, INT_PTR result) {
    if (!record || !record->hwnd || record->kind != 1) return 0;
    if (record->definition && record->definition->modeless) {
        DestroyWindow(record->hwnd);
    } else {
        EndDialog(record->hwnd, result);
    }
    // At once: the modal loop ends later, but the dialog is gone for everyone.
    record->hwnd = nullptr;
    return 0;
}

char* GetControlText(const WindowRecord* record, int32_t id) {
    HWND control = record && record->hwnd ? GetDlgItem(record->hwnd, id) : nullptr;
    const int32_t size = control ? GetWindowTextLengthA(control) + 1 : 1;
    char* text = static_cast<char*>(HeapAllocate(size));
    if (!text) return nullptr;
    if (control) GetWindowTextA(control, text, size);
    return text;
}
