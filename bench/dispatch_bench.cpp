// Cost of DispatchEvent over a direct call of the same handler, and of one
// WaitEvents round trip for a message posted to a runtime window and to a
// runtime dialog against the plain loops that do the same.
#include "bench_util.h"
#include "rt_events.h"
#include "rt_core.h"
#include "rt_dialogs.h"
#include "rt_winutil.h"

namespace {

volatile int32_t handled;
int32_t TrivialHandler() {
    handled = handled + 1;
    return 0;
}

WindowRecord record;

LRESULT CALLBACK BenchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER) return DispatchEvent(&record, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

constexpr int kPumpRuns = 15;
constexpr long kPosts = 20000;

struct PumpFigures {
    double pumpNs;
    double loopNs;
};

// One posted message handled by WaitEvents(1) against the same message
// through the loop a program written directly against Win32 would run.
// Alternated repetitions, so that drift of the system (under Wine every post
// and peek is a round trip to its server) affects both alike.
PumpFigures PumpAgainstLoop(HWND target, bool dialogLoop) {
    std::vector<double> pumpSamples;
    std::vector<double> loopSamples;
    for (int rep = 0; rep < kPumpRuns; ++rep) {
        pumpSamples.push_back(MedianNsPerCall(1, kPosts, [&] {
            PostMessageA(target, WM_USER, 0, 0);
            WaitEvents(1);
        }));
        loopSamples.push_back(MedianNsPerCall(1, kPosts, [&] {
            PostMessageA(target, WM_USER, 0, 0);
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (dialogLoop && IsDialogMessageA(target, &message)) continue;
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }));
    }
    return {Median(pumpSamples), Median(loopSamples)};
}

}  // namespace

// The same work with the server's requests counted: a posted message and a
// posted key through WaitEvents(1) and through the plain loop, and a loop
// of one GetPropA as the check of the count (one request each).
void CountPump(HWND target, HWND dialog) {
    const auto pump = [](HWND to, UINT message, WPARAM wParam) {
        PostMessageA(to, message, wParam, 0);
        WaitEvents(1);
    };
    const auto loop = [](HWND to, UINT message, WPARAM wParam, bool dialogLoop) {
        PostMessageA(to, message, wParam, 0);
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (dialogLoop && IsDialogMessageA(to, &m)) continue;
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    };
    // Whatever the new windows still have to do (their first paints) first.
    for (HWND to : {target, dialog}) {
        for (int i = 0; i < 10; ++i) pump(to, i % 2 ? WM_USER : WM_KEYDOWN, VK_F7);  // a key too
    }
    CountRequests("check.rt", [&] { GetPropA(target, "rt-check"); });
    CountRequests("check.base", [] {});
    CountRequests("pump-window.rt", [&] { pump(target, WM_USER, 0); });
    CountRequests("pump-window.base", [&] { loop(target, WM_USER, 0, false); });
    CountRequests("pump-key.rt", [&] { pump(target, WM_KEYDOWN, VK_F7); });
    CountRequests("pump-key.base", [&] { loop(target, WM_KEYDOWN, VK_F7, false); });
    CountRequests("pump-dialog.rt", [&] { pump(dialog, WM_USER, 0); });
    CountRequests("pump-dialog.base", [&] { loop(dialog, WM_USER, 0, true); });
}

int main(int argc, char** argv) {
    record.handler = TrivialHandler;
    EventHandler volatile direct = TrivialHandler;
    const bool counting = Counting(argc, argv);
    const long calls = counting ? 1 : 2000000;
    const double directNs = MedianNsPerCall(9, calls, [&] { direct(); });
    const double dispatchNs = MedianNsPerCall(9, calls, [&] { DispatchEvent(&record, WM_USER, 1, 2); });

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = BenchWindowProc;
    windowClass.cbWndExtra = sizeof(void*);
    windowClass.lpszClassName = "CorvantisWndClass";
    WindowClassAtom = RegisterClassA(&windowClass);
    record.hwnd = CreateWindowExA(0, "CorvantisWndClass", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                  nullptr, nullptr, nullptr);
    SetWindowLongPtrA(record.hwnd, 0, reinterpret_cast<LONG_PTR>(&record));
    WindowRecord dialog{};
    DialogCreate(&dialog, 0, 0, 200, 100, WS_POPUP | WS_CAPTION, nullptr, "bench", TrivialHandler);
    DialogShow(&dialog, nullptr);
    if (counting) {
        CountPump(record.hwnd, dialog.hwnd);
        return 0;
    }
    const PumpFigures window = PumpAgainstLoop(record.hwnd, false);

    // A runtime dialog, as the application has: its messages pass the dialog
    // manager either way, so the plain loop asks IsDialogMessageA first.
    const PumpFigures dialogFigures = PumpAgainstLoop(dialog.hwnd, true);

    std::printf("direct handler call        %8.1f ns\n", directNs);
    std::printf("DispatchEvent              %8.1f ns  (+%.1f ns per event)\n", dispatchNs, dispatchNs - directNs);
    std::printf("window: post + WaitEvents(1) %8.1f ns, post + loop %8.1f ns (pump adds %.1f ns)\n", window.pumpNs,
                window.loopNs, window.pumpNs - window.loopNs);
    std::printf("dialog: post + WaitEvents(1) %8.1f ns, post + loop %8.1f ns (pump adds %.1f ns)\n",
                dialogFigures.pumpNs, dialogFigures.loopNs, dialogFigures.pumpNs - dialogFigures.loopNs);
    std::printf("(medians of 9 runs of %ld calls, and of %d alternated runs of %ld posts)\n", calls, kPumpRuns,
                kPosts);
    Row("DispatchEvent (vs direct handler call)", dispatchNs, directNs, "ns", "");
    Row("posted message, WaitEvents(1) (vs Peek/Dispatch loop)", window.pumpNs, window.loopNs, "ns", "<= 1.05");
    Row("posted to a dialog, WaitEvents(1) (vs loop with IsDialogMessage)", dialogFigures.pumpNs,
        dialogFigures.loopNs, "ns", "<= 1.05");
    DialogClose(&dialog, 0);
    DestroyWindow(record.hwnd);
    return 0;
}
