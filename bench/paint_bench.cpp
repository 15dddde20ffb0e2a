// Repainting a 1,000 x 700 window from its backing bitmap, for a 100 x 100
// update rectangle and for the whole window. The runtime's own work in a
// paint (from WM_PAINT until its procedure returns, the copy included) is
// timed apart from the platform's invalidation, and set against a bare copy
// of the same area from the bitmap to the window.
#include "bench_util.h"
#include "rt_numbers.h"
#include "rt_windows.h"

namespace {

WNDPROC runtimeProc;
double paintNs;  // summed over the paints of one repetition
long paints;

LRESULT CALLBACK TimedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return CallWindowProcA(runtimeProc, window, message, wParam, lParam);
    const double start = NowNs();
    const LRESULT result = CallWindowProcA(runtimeProc, window, message, wParam, lParam);
    GdiFlush();
    paintNs += NowNs() - start;
    ++paints;
    return result;
}

struct PaintCost {
    double invalidateUs;
    double paintUs;
};

PaintCost Repaint(HWND window, const RECT* area) {
    std::vector<double> invalidate;
    std::vector<double> paint;
    for (int rep = 0; rep < 7; ++rep) {
        paintNs = 0;
        paints = 0;
        double invalidateNs = 0;
        for (int i = 0; i < 1000; ++i) {
            const double start = NowNs();
            InvalidateRect(window, area, FALSE);
            invalidateNs += NowNs() - start;
            UpdateWindow(window);
        }
        invalidate.push_back(invalidateNs / 1000 / 1000);
        paint.push_back(paints ? paintNs / static_cast<double>(paints) / 1000 : 0);
    }
    return {Median(invalidate), Median(paint)};
}

}  // namespace

int main() {
    FpuModeReset();
    WindowRecord record{};
    if (!WindowCreate(&record, 0, 0, 1000, 700, WINOPT_NOCAPTION, nullptr, "paint", nullptr)) {
        std::printf("no window\n");
        return 1;
    }
    UpdateWindow(record.hwnd);
    runtimeProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(record.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TimedProc)));
    RECT client;
    GetClientRect(record.hwnd, &client);
    const RECT small{450, 300, 550, 400};
    Repaint(record.hwnd, nullptr);  // warm-up
    // Alternated, so that drift of the system affects both alike.
    PaintCost smallCost{};
    PaintCost fullCost{};
    for (int round = 0; round < 3; ++round) {
        const PaintCost s = Repaint(record.hwnd, &small);
        const PaintCost f = Repaint(record.hwnd, nullptr);
        smallCost.invalidateUs += s.invalidateUs / 3;
        smallCost.paintUs += s.paintUs / 3;
        fullCost.invalidateUs += f.invalidateUs / 3;
        fullCost.paintUs += f.paintUs / 3;
    }
    // The copy alone, outside the paint cycle: bitmap to window DC.
    HDC windowDc = GetDC(record.hwnd);
    HDC memory = CreateCompatibleDC(windowDc);
    HGDIOBJ previous = SelectObject(memory, record.backBitmap);
    auto copyRepeatedly = [&](const RECT& r) {
        return MedianNsPerCall(7, 1000, [&] {
            BitBlt(windowDc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, r.left, r.top, SRCCOPY);
            GdiFlush();
        }) / 1000.0;
    };
    const double smallCopyUs = copyRepeatedly(small);
    const double fullCopyUs = copyRepeatedly(client);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(record.hwnd, windowDc);

    std::printf("client %ld x %ld; us per paint   %12s %12s %12s\n", client.right, client.bottom, "invalidate",
                "runtime paint", "bare copy");
    std::printf("100 x 100 update rectangle       %12.1f %12.1f %12.1f\n", smallCost.invalidateUs,
                smallCost.paintUs, smallCopyUs);
    std::printf("whole window                     %12.1f %12.1f %12.1f\n", fullCost.invalidateUs,
                fullCost.paintUs, fullCopyUs);
    std::printf("(mean of 3 alternated medians of 7 runs of 1000 paints each)\n");
    Row("paint 100x100: runtime's work (vs bare copy)", smallCost.paintUs, smallCopyUs, "us", "");
    Row("paint whole 1000x700: runtime's work (vs bare copy)", fullCost.paintUs, fullCopyUs, "us", "");
    Row("runtime's work, whole / 100x100 (vs copy, whole / 100x100)", fullCost.paintUs / smallCost.paintUs,
        fullCopyUs / smallCopyUs, "x", "");
    Row("invalidation 100x100, platform only (vs whole)", smallCost.invalidateUs, fullCost.invalidateUs, "us", "");
    SetWindowLongPtrA(record.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(runtimeProc));
    DestroyWindow(record.hwnd);
    return 0;
}
