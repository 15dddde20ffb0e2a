// A top-level window that treats its controls the way the runtime's dialog
// and window procedures do: colour messages are reflected to the control as
// ColourRequest, WM_DRAWITEM is reflected to the button, commands go to
// DispatchEvent. It can also name a default button and report a font.
#pragma once

#include <windows.h>

#include <map>

#include "rt_records.h"

struct ReflectingParent {
    HWND hwnd = nullptr;
    WindowRecord record{};      // handler receives the commands
    UINT defaultId = 0;         // answered to DM_GETDEFID when non-zero
    HFONT font = nullptr;       // answered to WM_GETFONT
    std::map<HWND, int> draws;  // WM_DRAWITEM reflected, per control

    ReflectingParent(int width = 320, int height = 200);
    ~ReflectingParent();
    ReflectingParent(const ReflectingParent&) = delete;
    ReflectingParent& operator=(const ReflectingParent&) = delete;

    // A child control of the given class, style and identifier.
    HWND AddChild(const char* className, const char* text, DWORD style, int x, int y, int width, int height,
                  int id) const;
};
