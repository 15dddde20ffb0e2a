// Showing a defined dialog, and the one dialog procedure of every runtime
// dialog: it binds the window to its record, attaches the controls, reflects
// colour and drawing requests to them and hands everything else to the
// record's handler.
#include "rt_controls_internal.h"
#include "rt_dialogs_internal.h"
#include "rt_dpi.h"
#include "rt_events.h"
#include "rt_memory.h"

WindowRecord* CreatingDialog;

bool IsDefinedDialog(const WindowRecord* record) {
    return record && record->definition && record->kind == 1;
}

HWND OwnerWindow(const WindowRecord* record, const WindowRecord* owner) {
    HWND window = owner ? owner->hwnd : record->definition->parent;
    return IsWindow(window) ? window : nullptr;
}

void* BuildTemplate(const DialogDefinition* definition) {
    const int32_t size = DialogTemplateSize(definition);
    void* block = nullptr;
    if (size <= 0 || GlobalArrayAlloc(&block, size, 1) != 0) return nullptr;
    DialogTemplateWrite(block, definition);
    return block;
}

HWND DialogShow(WindowRecord* record, const WindowRecord* owner) {
    // One window per record: a second would be orphaned, bound to nothing.
    if (!IsDefinedDialog(record) || RecordHasWindow(record)) return nullptr;
    void* dialogTemplate = BuildTemplate(record->definition);
    if (!dialogTemplate) return nullptr;
    // Modeless from WM_INITDIALOG on, so that a handler closing it there
    // destroys it rather than ending a modal loop that does not exist.
    const int32_t wasModeless = record->definition->modeless;
    record->definition->modeless = 1;
    CreatingDialog = record;
    HWND window = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), static_cast<LPCDLGTEMPLATEA>(dialogTemplate),
                                             OwnerWindow(record, owner), DialogProc, 0);
    // Taken at WM_INITDIALOG; a creation that never got there leaves it, and
    // the definition as it was.
    if (CreatingDialog == record) record->definition->modeless = wasModeless;
    CreatingDialog = nullptr;
    GlobalArrayFree(dialogTemplate);
    // A dialog its own WM_INITDIALOG handler closed was never shown.
    if (!window || record->hwnd != window) return nullptr;
    ShowWindow(window, SW_SHOW);
    return window;
}

int32_t DialogControlsSetup(WindowRecord* record, bool justCreated, const DialogLayout* layout) {
    if (!record || !record->definition) return 0;
    // The dialog manager makes the controls in the template's order, so the
    // children are met in the definitions' order: each is attached, however
    // many share its identifier (-1) and whatever the identifier was before
    // the template cut it to 16 bits. A child out of step is looked up, and
    // may have been met already.
    HWND next = record->definition->controls ? GetWindow(record->hwnd, GW_CHILD) : nullptr;
    for (const ControlDefinition* c = record->definition->controls; c; c = c->next) {
        HWND control = next;
        const bool inStep = control && (ControlId(control) & 0xFFFF) == (c->id & 0xFFFF);
        if (!inStep) control = GetDlgItem(record->hwnd, c->id);
        next = control && c->next ? GetWindow(control, GW_HWNDNEXT) : nullptr;
        if (control && layout) DialogLayoutPlace(*layout, control, c);
        if (layout && layout->again) continue;
        if (inStep && justCreated) {
            ControlAttachNew(control, c->type);
        } else if (control) {
            ControlAttach(control, c->type);
        }
        // The owner-draw style replaced BS_DEFPUSHBUTTON; tell the dialog instead.
        if (c->isDefault) {
            SendWindowMessage(reinterpret_cast<intptr_t>(record), TAG_BY_REFERENCE | TAG_RECORD, DM_SETDEFID,
                              static_cast<WPARAM>(c->id), 0, TAG_INT, 0);
        }
    }
    return 0;
}

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        WindowRecord* record = CreatingDialog;
        if (!record) return TRUE;
        DialogRecordBind(window, record);
        record->hwnd = window;
        // Still the dialog being made while it is laid out, so that the
        // handler's first event is WM_INITDIALOG, not the sizes before it.
        const DialogLayout layout = DialogLayoutStart(window, record->definition);
        DialogControlsSetup(record, true, &layout);
        CreatingDialog = nullptr;
        RECT before;
        GetWindowRect(window, &before);
        DispatchEvent(record, message, wParam, lParam);
        // Unless the handler closed it.
        if (record->hwnd == window) DialogLayoutFinish(layout, before);
        return TRUE;  // the dialog manager sets the focus
    }
    if (IsReflectedMessage(message)) {
        LRESULT answer = 0;
        ReflectToControl(message, wParam, lParam, &answer);
        return answer;
    }
    if (message == WM_DESTROY) ControlsReleaseBegin();
    if (message == WM_NCDESTROY) {
        ControlsReleaseEnd();
        DialogLayoutEnd(window);
    }
    WindowRecord* record = DialogRecordOf(window);
    if (!record || record == CreatingDialog) return 0;
    INT_PTR result = 0;
    bool tellInnerWindows = false;  // of a new DPI, after the handler

    UINT dispatched = message;
    switch (message) {
        case WM_SIZE:
        case WM_SIZING:
            DispatchEvent(record, EVENT_SIZE, wParam, lParam);
            break;
        case WM_CLOSE:
            if (record->definition && record->definition->modeless) {
                dispatched = EVENT_CLOSE;
            } else {
                EndDialog(window, 2);
            }
            break;
        case WM_DESTROY:
            DialogRecordBind(window, nullptr);
            break;
        case WM_DPICHANGED:
            // The handler sees it afterwards, with everything in its new place.
            if (record->definition) {
                const int32_t from = WindowDpi(window);
                KeepValue(window, KEPT_LAID_OUT_DPI, LOWORD(wParam));
                const DialogLayout layout =
                    DialogLayoutStart(window, record->definition, reinterpret_cast<const RECT*>(lParam));
                DialogControlsSetup(record, false, &layout);
                tellInnerWindows = from != LOWORD(wParam) && DialogInnerWindowsDpi.place;
                if (tellInnerWindows) DialogInnerWindowsDpi.place(window, from, LOWORD(wParam));
            }
            break;
        default:
            break;
    }
    result = DispatchEvent(record, dispatched, wParam, lParam);
    if (tellInnerWindows) DialogInnerWindowsDpi.tell(window, LOWORD(wParam));

    // Over the dialog's own client area the record's cursor; controls keep theirs.
    if (result == 0 && message == WM_SETCURSOR && LOWORD(lParam) == HTCLIENT &&
        reinterpret_cast<HWND>(wParam) == record->hwnd) {
        SetCursor(record->cursor);
    }
    // A modal dialog closed and shown again from its handler is destroyed
    // after its record has been bound to the new window: leave that one.
    if (message == WM_DESTROY && record->hwnd == window) record->hwnd = nullptr;
    return result;
}
