// Repainting a 1,000 x 700 window from its backing bitmap: 1,000 paints of a
// 100 x 100 update rectangle against 1,000 paints of the whole window.
#include "bench_util.h"
#include "rt_numbers.h"
#include "rt_windows.h"

int main() {
    FpuModeReset();
    WindowRecord record{};
    if (!WindowCreate(&record, 0, 0, 1000, 700, WINOPT_NOCAPTION, nullptr, "paint", nullptr)) {
        std::printf("no window\n");
        return 1;
    }
    UpdateWindow(record.hwnd);
    RECT client;
    GetClientRect(record.hwnd, &client);
    const RECT small{450, 300, 550, 400};
    const int paints = 1000;
    auto paintRepeatedly = [&](const RECT* area) {
        return MedianNsPerCall(7, paints, [&] {
            InvalidateRect(record.hwnd, area, FALSE);
            UpdateWindow(record.hwnd);
        }) / 1000.0;
    };
    paintRepeatedly(nullptr);  // warm-up
    // Alternated, so that drift of the system affects both alike.
    double smallUs = 0;
    double fullUs = 0;
    for (int round = 0; round < 3; ++round) {
        smallUs += paintRepeatedly(&small) / 3;
        fullUs += paintRepeatedly(nullptr) / 3;
    }
    // The copy alone, outside the paint cycle: bitmap to window DC.
    HDC windowDc = GetDC(record.hwnd);
    HDC memory = CreateCompatibleDC(windowDc);
    HGDIOBJ previous = SelectObject(memory, record.backBitmap);
    auto copyRepeatedly = [&](const RECT& r) {
        return MedianNsPerCall(7, paints, [&] {
            BitBlt(windowDc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, r.left, r.top, SRCCOPY);
            GdiFlush();
        }) / 1000.0;
    };
    const double smallCopyUs = copyRepeatedly(small);
    const double fullCopyUs = copyRepeatedly(client);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(record.hwnd, windowDc);

    std::printf("client %ld x %ld\n", client.right, client.bottom);
    std::printf("bitmap copy alone: 100 x 100 %.1f us, whole window %.1f us\n", smallCopyUs, fullCopyUs);
    std::printf("100 x 100 update rectangle  %9.1f us per paint\n", smallUs);
    std::printf("whole window                %9.1f us per paint\n", fullUs);
    std::printf("ratio whole / small         %9.2f\n", fullUs / smallUs);
    std::printf("(mean of 3 alternated medians of 7 runs of %d paints each)\n", paints);
    DestroyWindow(record.hwnd);
    return 0;
}
