// Sending a message to a window named by a typed argument.
#include <cstring>

#include "rt_controls_internal.h"
#include "rt_records.h"

namespace {

// Reads a variable of the tagged kind at address, exactly its width: 1, 2
// or 8 bytes for those type codes, a handle's width for handles, 4 bytes for
// the 32-bit kinds and the rest. Narrow integers are sign-extended, as a
// 32-bit handle value is on 64-bit Windows.
intptr_t ReadVariable(intptr_t address, uint32_t kind) {
    if (!address) return 0;
    const void* at = reinterpret_cast<const void*>(address);
    switch (kind) {
        case 1: {
            uint8_t value;
            std::memcpy(&value, at, sizeof(value));
            return value;
        }
        case 13: {
            int16_t value;
            std::memcpy(&value, at, sizeof(value));
            return value;
        }
        case 14:
        case 17:
        case 18: {
            int64_t value;
            std::memcpy(&value, at, sizeof(value));
            return static_cast<intptr_t>(value);
        }
        case TAG_HANDLE: {
            intptr_t value;
            std::memcpy(&value, at, sizeof(value));
            return value;
        }
        default: {
            int32_t value;
            std::memcpy(&value, at, sizeof(value));
            return value;
        }
    }
}

}  // namespace

LRESULT SendWindowMessage(intptr_t targetValue, uint32_t targetTag, UINT message, WPARAM wParam,
                          intptr_t lParamValue, uint32_t lParamTag, int32_t controlId) {
    HWND window = nullptr;
    const uint32_t targetKind = targetTag & 0xFFFF;
    if (targetKind == TAG_INT || targetKind == TAG_HANDLE) {
        window = reinterpret_cast<HWND>((targetTag >> 16) ? ReadVariable(targetValue, targetKind) : targetValue);
    } else if (targetKind == TAG_RECORD) {
        if (targetValue) window = reinterpret_cast<const WindowRecord*>(targetValue)->hwnd;
    }
    if (window && controlId != 0) window = GetDlgItem(window, controlId);
    if (!window) return 0;

    LPARAM lParam = lParamValue;
    const uint32_t lParamKind = lParamTag & 0xFFFF;
    if ((lParamTag >> 16) && lParamKind != TAG_STRING && lParamKind != TAG_RECORD) {
        // A variable passed by reference: send its content.
        lParam = ReadVariable(lParamValue, lParamKind);
    }
    return SendMessageA(window, message, wParam, lParam);
}
