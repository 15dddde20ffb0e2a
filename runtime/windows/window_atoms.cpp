// Class atoms of the runtime's window classes.
#include "rt_windows.h"

uint16_t WindowClassAtom;
uint16_t FrameClassAtom;
uint16_t MdiClientAtom;
