// Class atoms of the runtime's window classes.
#include "rt_core.h"

uint16_t DialogClassAtom;
uint16_t WindowClassAtom;
uint16_t FrameClassAtom;
uint16_t MdiClientAtom;
InnerWindowsDpi DialogInnerWindowsDpi;
