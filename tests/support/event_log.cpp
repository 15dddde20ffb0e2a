#include "event_log.h"

#include <cstdio>

std::vector<EventSnapshot> LoggedEvents;

bool EventSnapshot::operator==(const EventSnapshot& o) const {
    return message == o.message && wParam == o.wParam && lParam == o.lParam && mouseX == o.mouseX &&
           mouseY == o.mouseY && window == o.window && controlId == o.controlId && menuId == o.menuId &&
           notifyCode == o.notifyCode;
}

EventSnapshot CurrentEvent() {
    return EventSnapshot{EventMessage, EventWParam,    EventLParam,  EventMouseX,   EventMouseY,
                         EventWindow,  EventControlId, EventMenuId, EventNotifyCode};
}

std::string Describe(const EventSnapshot& e) {
    char text[256];
    std::snprintf(text, sizeof(text),
                  "msg 0x%X w 0x%llX l 0x%llX mouse (%d,%d) window %p control %d menu %d notify %d", e.message,
                  static_cast<unsigned long long>(e.wParam), static_cast<unsigned long long>(e.lParam), e.mouseX,
                  e.mouseY, static_cast<const void*>(e.window), e.controlId, e.menuId, e.notifyCode);
    return text;
}

void SetEventSentinels(const EventSnapshot& v) {
    EventMessage = v.message;
    EventWParam = v.wParam;
    EventLParam = v.lParam;
    EventMouseX = v.mouseX;
    EventMouseY = v.mouseY;
    EventWindow = const_cast<WindowRecord*>(v.window);
    EventControlId = v.controlId;
    EventMenuId = v.menuId;
    EventNotifyCode = v.notifyCode;
}

int32_t LoggingHandler() {
    LoggedEvents.push_back(CurrentEvent());
    return 0;
}

std::string Describe(const SeenMessage& seen) {
    struct Name {
        int32_t message;
        const char* name;
    };
    static const Name kNames[] = {
        {WM_CREATE, "WM_CREATE"},     {WM_MOVE, "WM_MOVE"},         {WM_SIZE, "WM_SIZE"},
        {WM_PAINT, "WM_PAINT"},       {WM_CLOSE, "WM_CLOSE"},       {WM_KEYDOWN, "WM_KEYDOWN"},
        {WM_CHAR, "WM_CHAR"},         {WM_COMMAND, "WM_COMMAND"},   {EVENT_CLOSE, "EVENT_CLOSE"},
        {EVENT_MENU, "EVENT_MENU"},   {EVENT_CONTROL, "EVENT_CONTROL"}, {EVENT_SIZE, "EVENT_SIZE"},
        {EVENT_ERASE, "EVENT_ERASE"},
    };
    char text[48];
    std::snprintf(text, sizeof(text), "message 0x%X", seen.message);
    for (const Name& n : kNames) {
        if (n.message == seen.message) std::snprintf(text, sizeof(text), "%s (0x%X)", n.name, seen.message);
    }
    return text;
}

std::vector<SeenMessage> LoggedMessages() {
    std::vector<SeenMessage> messages;
    for (const EventSnapshot& e : LoggedEvents) messages.push_back(SeenMessage{e.message});
    return messages;
}

std::vector<SeenMessage> LoggedMessagesAmong(std::initializer_list<int32_t> kinds) {
    std::vector<SeenMessage> messages;
    for (const EventSnapshot& e : LoggedEvents) {
        for (int32_t kind : kinds) {
            if (e.message == kind) messages.push_back(SeenMessage{e.message});
        }
    }
    return messages;
}
