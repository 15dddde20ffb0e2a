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
