// Capturing what a window shows, checking pixels, and saving PNG files a
// person can look at.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> data;  // row-major, top row first
    COLORREF At(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
    // Bounding box of the pixels of one colour inside the given rectangle;
    // empty (right <= left) when there are none.
    RECT BoundsOf(COLORREF colour, const RECT& within) const;
    int Count(COLORREF colour, const RECT& within) const;
};

// Repaints the window now and copies its client area from its device context.
Pixels CaptureClient(HWND window);
// Copies what the screen shows in a rectangle (screen coordinates).
Pixels CaptureScreen(const RECT& area);
// Copies a bitmap's pixels.
Pixels CaptureBitmap(HBITMAP bitmap);
// Writes artifacts/<name>.png under the build folder; returns the path.
std::string SavePng(const Pixels& pixels, const std::string& name);

std::string DescribeColour(COLORREF colour);
