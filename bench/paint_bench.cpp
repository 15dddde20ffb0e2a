// Repainting a 1,000 x 700 window from its backing bitmap, for a 100 x 100
// update rectangle and for the whole window, against the paint a Win32
// programmer writes for a window with a bitmap behind it: one memory DC
// kept for the bitmap, BeginPaint, one BitBlt of rcPaint, EndPaint. Each
// paint is timed from WM_PAINT until its procedure returns, the copy
// included; invalidating is the platform's and timed apart.
#include "bench_util.h"
#include "rt_numbers.h"
#include "rt_windows.h"

namespace {

HWND runtimeWindow;
WNDPROC runtimeProc;
HDC plainMemory;  // the plain window's bitmap, selected for the window's life
double paintNs;   // summed over the paints of one repetition
long paints;

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    const RECT& r = paint.rcPaint;
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, plainMemory, r.left, r.top, SRCCOPY);
    EndPaint(window, &paint);
    return 0;
}

LRESULT CALLBACK TimedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto call = [&] {
        return window == runtimeWindow ? CallWindowProcA(runtimeProc, window, message, wParam, lParam)
                                       : PlainProc(window, message, wParam, lParam);
    };
    if (message != WM_PAINT) return call();
    const double start = NowNs();
    const LRESULT result = call();
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

HWND PlainWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = TimedProc;
    windowClass.lpszClassName = "PlainPaint";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "PlainPaint", "plain", WS_POPUP | WS_VISIBLE, 0, 0, 1000, 700, nullptr, nullptr,
                                  nullptr, nullptr);
    HDC dc = GetDC(window);
    plainMemory = CreateCompatibleDC(dc);
    SelectObject(plainMemory, CreateCompatibleBitmap(dc, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    PatBlt(plainMemory, 0, 0, 1000, 700, WHITENESS);
    ReleaseDC(window, dc);
    return window;
}

}  // namespace

int main(int argc, char** argv) {
    FpuModeReset();
    WindowRecord record{};
    if (!WindowCreate(&record, 0, 0, 1000, 700, WINOPT_NOCAPTION, nullptr, "paint", nullptr)) {
        std::printf("no window\n");
        return 1;
    }
    UpdateWindow(record.hwnd);
    runtimeWindow = record.hwnd;
    runtimeProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(record.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TimedProc)));
    HWND plain = PlainWindow();
    UpdateWindow(plain);
    const RECT small{450, 300, 550, 400};

    if (Counting(argc, argv)) {
        CountRequests("paint-small.rt", [&] {
            InvalidateRect(record.hwnd, &small, FALSE);
            UpdateWindow(record.hwnd);
        });
        CountRequests("paint-small.base", [&] {
            InvalidateRect(plain, &small, FALSE);
            UpdateWindow(plain);
        });
        CountRequests("paint-whole.rt", [&] {
            InvalidateRect(record.hwnd, nullptr, FALSE);
            UpdateWindow(record.hwnd);
        });
        CountRequests("paint-whole.base", [&] {
            InvalidateRect(plain, nullptr, FALSE);
            UpdateWindow(plain);
        });
        return 0;
    }

    Repaint(record.hwnd, nullptr);  // warm-up
    Repaint(plain, nullptr);
    // Alternated, so that drift of the system affects both alike.
    PaintCost small_[2]{};
    PaintCost whole[2]{};
    HWND windows[2] = {record.hwnd, plain};
    for (int round = 0; round < 3; ++round) {
        for (int w = 0; w < 2; ++w) {
            const PaintCost s = Repaint(windows[w], &small);
            const PaintCost f = Repaint(windows[w], nullptr);
            small_[w].invalidateUs += s.invalidateUs / 3;
            small_[w].paintUs += s.paintUs / 3;
            whole[w].invalidateUs += f.invalidateUs / 3;
            whole[w].paintUs += f.paintUs / 3;
        }
    }
    std::printf("us per paint                     %12s %12s %12s\n", "invalidate", "runtime", "plain Win32");
    std::printf("100 x 100 update rectangle       %12.1f %12.1f %12.1f\n", small_[0].invalidateUs, small_[0].paintUs,
                small_[1].paintUs);
    std::printf("whole window                     %12.1f %12.1f %12.1f\n", whole[0].invalidateUs, whole[0].paintUs,
                whole[1].paintUs);
    std::printf("(mean of 3 alternated medians of 7 runs of 1000 paints each)\n");
    Row("paint 100x100 (vs idiomatic Win32 paint)", small_[0].paintUs, small_[1].paintUs, "us", "<= 1.2");
    Row("paint whole 1000x700 (vs idiomatic Win32 paint)", whole[0].paintUs, whole[1].paintUs, "us", "<= 1.2");
    Row("invalidation 100x100, platform only (vs whole)", small_[0].invalidateUs, whole[0].invalidateUs, "us", "");
    SetWindowLongPtrA(record.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(runtimeProc));
    DestroyWindow(record.hwnd);
    DestroyWindow(plain);
    return 0;
}
