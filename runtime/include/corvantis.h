// Everything a program uses: records and event variables, dialogs and
// controls, windows, the message pump, window utilities, strings, numbers,
// the heap and global blocks, and the program's start and END.
#pragma once

#include "rt_controls.h"
#include "rt_dialogs.h"
#include "rt_dpi.h"
#include "rt_events.h"
#include "rt_memory.h"
#include "rt_numbers.h"
#include "rt_program.h"
#include "rt_records.h"
#include "rt_strings.h"
#include "rt_windows.h"
#include "rt_winutil.h"
