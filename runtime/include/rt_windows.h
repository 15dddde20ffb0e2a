// Runtime windows: class atoms and the creation hand-off.
#pragma once

#include <cstdint>

#include "rt_records.h"

// Atoms of "CorvantisWndClass" and "CorvantisFrameClass"; 0 until registered.
extern uint16_t WindowClassAtom;
extern uint16_t FrameClassAtom;
// Class atom of the first frame's MDI client; 0xFFFF once an ordinary window
// was made while it was still 0.
extern uint16_t MdiClientAtom;
