// The process-wide list of defined dialogs and its release at END.
#include "rt_dialogs_internal.h"
#include "rt_memory.h"

WindowListNode* WindowList;

int32_t ControlListFree(ControlDefinition* first) {
    ForgetListEnd();
    for (ControlDefinition* node = first; node;) {
        ControlDefinition* const next = node->next;
        GlobalBlockFree(node->text);
        ForgetPixelRect(node);
        GlobalBlockFree(node);
        node = next;
    }
    return 0;
}

int32_t WindowListFree() {
    for (WindowListNode* node = WindowList; node;) {
        const WindowRecord* const record = node->record;
        if (record && record->definition) {
            ControlListFree(record->definition->controls);
            ForgetPixelRect(record->definition);
            GlobalBlockFree(record->definition);
        }
        WindowListNode* const next = node->next;
        GlobalBlockFree(node);
        node = next;
    }
    WindowList = nullptr;
    return 0;
}
