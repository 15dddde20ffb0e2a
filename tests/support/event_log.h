// Snapshots of the event variables, as a handler sees them.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "rt_events.h"
#include "sequence_check.h"

struct EventSnapshot {
    int32_t message;
    intptr_t wParam;
    intptr_t lParam;
    int32_t mouseX;
    int32_t mouseY;
    const WindowRecord* window;
    int32_t controlId;
    int32_t menuId;
    int32_t notifyCode;
    bool operator==(const EventSnapshot& other) const;
};

EventSnapshot CurrentEvent();
std::string Describe(const EventSnapshot& event);

// Sets every event variable to a recognisable value, so that "left as it
// was" and "restored" can be told from "cleared".
void SetEventSentinels(const EventSnapshot& values);

// A handler that appends CurrentEvent() to a global log.
extern std::vector<EventSnapshot> LoggedEvents;
int32_t LoggingHandler();

// The message number alone, for sequence checks of what arrived in order.
struct SeenMessage {
    int32_t message;
    bool operator==(const SeenMessage& other) const { return message == other.message; }
};
std::string Describe(const SeenMessage& seen);
// The messages of LoggedEvents in order; with kinds, only those among them.
std::vector<SeenMessage> LoggedMessages();
std::vector<SeenMessage> LoggedMessagesAmong(std::initializer_list<int32_t> kinds);
