// The process-wide list of defined dialogs.
#include "rt_records.h"

WindowListNode* WindowList;
