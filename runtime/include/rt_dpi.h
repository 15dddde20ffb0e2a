// Screen resolution. Every position and size a program gives the runtime is
// in 96-DPI pixels, and the runtime makes it at the DPI of the window's
// monitor: x dpi/96, rounded edge by edge so that edges two rectangles share
// stay shared. At 96 DPI a pixel is a pixel. What the runtime hands back
// from the platform (rectangles of windows, mouse positions) is in the
// platform's own device pixels; these convert for programs that call Win32
// directly.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr int32_t DPI_BASE = 96;

// The DPI a window is shown at; for null, the DPI of the system (where new
// top-level windows start). Systems without a DPI per window answer the
// system's.
int32_t WindowDpi(HWND window);
// 96-DPI pixels to device pixels at dpi, and back, rounded to nearest.
int32_t ToDevicePixels(int32_t pixels, int32_t dpi);
int32_t FromDevicePixels(int32_t devicePixels, int32_t dpi);
