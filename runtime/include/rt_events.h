// Events for user handlers: the event variables, the runtime's event codes,
// the dispatcher and the message pump.
#pragma once

#include <windows.h>

#include <cstdint>

#include "rt_records.h"

// The event variables. Written only by DispatchEvent; a handler reads them.
// Values that may carry a handle or an address are pointer-sized.
extern int32_t EventMessage;     // message number or EVENT_ code
extern intptr_t EventWParam;     // wParam, or a decoded part of it
extern intptr_t EventLParam;     // lParam, or a decoded value
extern int32_t EventMouseX;      // client coordinates of a mouse message, 0..65535
extern int32_t EventMouseY;
extern WindowRecord* EventWindow;  // the record the event belongs to
extern int32_t EventControlId;   // control of a command, notification or scroll message
extern int32_t EventMenuId;      // most recent menu or accelerator command
extern int32_t EventNotifyCode;  // notification code of a control

// What a handler sees: WM_CLOSE as EVENT_CLOSE; WM_COMMAND as EVENT_MENU (a
// menu or accelerator) or EVENT_CONTROL (a control), WM_NOTIFY as
// EVENT_CONTROL; EVENT_SIZE just before WM_SIZE and WM_SIZING, which follow
// as they are; EVENT_ERASE after the background of a window was erased.
// Every other message arrives as it is, with its own number: WM_INITDIALOG,
// WM_TIMER, WM_DESTROY, mouse and key messages, WM_PAINT of a window without
// backing bitmap, and WM_SIZE and the rest that a window gets while
// WindowCreate is still making it (no EVENT_SIZE there). The colour and
// owner-draw requests of controls go to the controls, not to the handler.
// A menu command reaches the handler of the window whose menu it is, with
// EventWindow naming the record of the window it is meant for: on an MDI
// frame the active (topmost) MDI child, on another window its topmost child
// window when that is a runtime window, and otherwise the window itself.
//
// Runtime event codes, in the application message range.
enum : int32_t {
    EVENT_CLOSE = 0x8002,    // WM_CLOSE
    EVENT_MENU = 0x8003,     // WM_COMMAND from a menu or accelerator
    EVENT_CONTROL = 0x8004,  // WM_COMMAND from a control, WM_NOTIFY
    EVENT_SIZE = 0x8009,     // raised just before WM_SIZE / WM_SIZING (not inside WindowCreate)
    EVENT_ERASE = 0x800F,    // background erased
};

// Items of the MDI "&Window" menu, acted on by the dispatcher itself.
enum : int32_t {
    IDM_CASCADE = 0x8005,
    IDM_TILE = 0x8006,
    IDM_ARRANGE = 0x8007,
};

// Decodes the message into the event variables, calls the record's handler
// and restores the variables it found (all but EventMenuId). Returns the
// handler's result, 0 without a handler or record.
int32_t DispatchEvent(WindowRecord* record, uint32_t message, WPARAM wParam, LPARAM lParam);

// Waits for a message unless noWait is non-zero, then handles every queued
// message: accelerators, dialog keyboard navigation and key filters for the
// runtime's windows, translation and dispatch for the rest. Returns 0.
int32_t WaitEvents(int32_t noWait);
