// Sending a message to a window named by a typed argument.
#include "rt_controls.h"
#include "rt_records.h"

LRESULT SendWindowMessage(intptr_t targetValue, uint32_t targetTag, UINT message, WPARAM wParam,
                          intptr_t lParamValue, uint32_t lParamTag, int32_t controlId) {
    HWND window = nullptr;
    const uint32_t targetKind = targetTag & 0xFFFF;
    if (targetKind == TAG_INT || targetKind == TAG_HANDLE) {
        if (targetTag >> 16) {
            if (targetValue) window = *reinterpret_cast<const HWND*>(targetValue);
        } else {
            window = reinterpret_cast<HWND>(targetValue);
        }
    } else if (targetKind == TAG_RECORD) {
        if (targetValue) window = reinterpret_cast<const WindowRecord*>(targetValue)->hwnd;
    }
    if (window && controlId != 0) window = GetDlgItem(window, controlId);
    if (!window) return 0;

    LPARAM lParam = lParamValue;
    const uint32_t lParamKind = lParamTag & 0xFFFF;
    if ((lParamTag >> 16) && lParamKind != TAG_STRING && lParamKind != TAG_RECORD) {
        // A variable passed by reference: send its content.
        lParam = lParamValue ? *reinterpret_cast<const LPARAM*>(lParamValue) : 0;
    }
    return SendMessageA(window, message, wParam, lParam);
}
