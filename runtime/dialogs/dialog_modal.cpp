// Showing a defined dialog modally. Apart from DialogShow, so that a program
// with modeless dialogs only imports nothing of the modal loop.
#include "rt_dialogs_internal.h"
#include "rt_memory.h"

INT_PTR DialogDoModal(WindowRecord* record, const WindowRecord* owner) {
    if (!IsDefinedDialog(record)) return 0;
    if (RecordHasWindow(record)) return -1;
    void* dialogTemplate = BuildTemplate(record->definition);
    if (!dialogTemplate) return -1;
    // A definition shown modeless before is modal now: its close box and
    // DialogClose must end this loop, not destroy the window.
    record->definition->modeless = 0;
    CreatingDialog = record;
    const INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr),
                                                   static_cast<LPCDLGTEMPLATEA>(dialogTemplate),
                                                   OwnerWindow(record, owner), DialogProc, 0);
    CreatingDialog = nullptr;
    GlobalArrayFree(dialogTemplate);
    return result;
}
