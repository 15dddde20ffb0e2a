// How the cost of dialogs and windows grows with their controls: the same
// work at 10 to 5,000 controls, through the runtime and written directly
// against Win32 in the same run. Three kinds of work, each defined, shown
// (until painted) and closed:
//   a  a dialog of push buttons, labels and edit boxes, every fourth with
//      colours and a brush of its own;
//   b  the same with one font, one brush and one bitmap shared by all;
//   c  a window with the same children, made at once.
// With "count" as its argument each is done once between request marks
// (bench_util.h) instead of timed.
#include "bench_util.h"

#include <cstdlib>
#include "rt_controls.h"
#include "rt_dialogs.h"
#include "rt_winutil.h"
#include "rt_windows.h"

namespace {

constexpr int kSizes[] = {10, 100, 1000, 5000};
constexpr int kColumns = 16;
constexpr int kRows = 30;  // further controls lie over earlier ones

enum Work { kDialog, kShared, kWindow };
const char* const kWorkName[] = {"a", "b", "c"};
const char* const kWorkText[] = {"dialog, own colours", "dialog, shared objects", "window, children"};

struct Placement {
    int x, y, width, height;
};
Placement Place(int i) { return {8 + (i % kColumns) * 62, 8 + (i / kColumns) % kRows * 22, 60, 20}; }
// Push button, label, edit box, in turn.
int Kind(int i) { return i % 3; }
bool OwnColours(int i) { return i % 4 == 0; }
constexpr COLORREF kOwnBack = RGB(250, 240, 200);
constexpr COLORREF kOwnText = RGB(20, 40, 120);

// Objects the shared work hands to every control.
struct Shared {
    HFONT font;
    HBRUSH brush;
    HBITMAP bitmap;
};
Shared MakeShared() {
    LOGFONTA description{};
    description.lfHeight = -11;
    lstrcpyA(description.lfFaceName, "Tahoma");
    HDC screen = GetDC(nullptr);
    Shared s{CreateFontIndirectA(&description), CreateSolidBrush(RGB(220, 250, 220)),
             CreateCompatibleBitmap(screen, 16, 16)};
    ReleaseDC(nullptr, screen);
    return s;
}

void Drain() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

void ShowAndPaint(HWND window) {
    ShowWindow(window, SW_SHOW);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Drain();
}

// ---------------------------------------------------------------------------
// Through the runtime.

int32_t QuietHandler() { return 0; }

struct RuntimeRun {
    WindowRecord* record;
    Shared shared;
    std::vector<HWND> controls;
};

const ControlType kTypes[] = {CONTROL_PUSH_BUTTON, CONTROL_LABEL, CONTROL_EDIT};

void RuntimeDefine(RuntimeRun& run, Work work, int n) {
    if (work == kWindow) {
        WindowCreate(run.record, 0, 0, 1020, 720, WINOPT_NOBITMAP, nullptr, "Scaling", QuietHandler);
    } else {
        DialogCreate(run.record, 0, 0, 1020, 720, WS_CAPTION | WS_SYSMENU, nullptr, "Scaling", QuietHandler);
    }
    for (int i = 0; i < n; ++i) {
        const Placement p = Place(i);
        ControlAdd(run.record, kTypes[Kind(i)], Kind(i) == 2 ? "" : "Text", p.x, p.y, p.width, p.height,
                   WS_TABSTOP, 100 + i);
    }
}

void RuntimeShow(RuntimeRun& run, Work work, int n) {
    if (work != kWindow) DialogShow(run.record, nullptr);
    HWND window = run.record->hwnd;
    run.controls.clear();
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) run.controls.push_back(c);
    for (int i = 0; i < n && i < static_cast<int>(run.controls.size()); ++i) {
        HWND c = run.controls[i];
        if (work == kShared) {
            SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(run.shared.font), FALSE);
            HGDIOBJ own = GetPropA(c, RT_PROP_BACK_BRUSH);
            SetPropA(c, RT_PROP_BACK_BRUSH, run.shared.brush);
            DeleteObject(own);
            if (Kind(i) == 0) SendMessageA(c, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(run.shared.bitmap));
        } else if (OwnColours(i)) {
            HGDIOBJ own = GetPropA(c, RT_PROP_BACK_BRUSH);
            SetPropA(c, RT_PROP_TEXT_COLOUR, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(kOwnText)));
            SetPropA(c, RT_PROP_BACK_COLOUR, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(kOwnBack)));
            SetPropA(c, RT_PROP_BACK_BRUSH, CreateSolidBrush(kOwnBack));
            DeleteObject(own);
        }
    }
    ShowAndPaint(window);
}

void RuntimeClose(RuntimeRun& run) {
    DestroyWindow(run.record->hwnd);
    Drain();
}

// ---------------------------------------------------------------------------
// Directly against Win32: the colours kept in the program's own arrays and
// answered from its dialog or window procedure.

struct RawRun {
    std::vector<WORD> dialogTemplate;
    HWND window = nullptr;
    std::vector<HBRUSH> brushes;  // per control; null: the system's
    HBRUSH face = nullptr;        // the dialog's ordinary brush for the rest
    Shared shared{};
    int n = 0;
};
RawRun* rawRun;
// The styles the runtime gives the same controls.
const DWORD kRawStyles[] = {WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER};

void PutWide(std::vector<WORD>& out, const char* text) {
    while (*text) out.push_back(static_cast<WORD>(*text++));
    out.push_back(0);
}

void BuildTemplate(RawRun& run, int n) {
    std::vector<WORD>& t = run.dialogTemplate;
    t.clear();
    const auto dword = [&](DWORD v) {
        t.push_back(LOWORD(v));
        t.push_back(HIWORD(v));
    };
    const LONG base = GetDialogBaseUnits();
    const auto dluX = [&](int px) { return static_cast<WORD>(MulDiv(px, 4, LOWORD(base))); };
    const auto dluY = [&](int px) { return static_cast<WORD>(MulDiv(px, 8, HIWORD(base))); };
    dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_MODALFRAME);
    dword(0);
    t.push_back(static_cast<WORD>(n));
    for (int v : {0, 0, 1020, 720}) t.push_back(v < 100 ? static_cast<WORD>(v) : (v == 1020 ? dluX(v) : dluY(v)));
    t.push_back(0);  // menu
    t.push_back(0);  // class
    PutWide(t, "Scaling");
    t.push_back(8);
    PutWide(t, "MS Sans Serif");
    for (int i = 0; i < n; ++i) {
        if (t.size() % 2) t.push_back(0);  // DWORD alignment
        const Placement p = Place(i);
        dword(kRawStyles[Kind(i)]);
        dword(Kind(i) == 2 ? WS_EX_CLIENTEDGE : 0);  // as the runtime makes edit boxes
        for (int v : {p.x, p.y}) t.push_back(static_cast<WORD>(v == p.x ? dluX(v) : dluY(v)));
        t.push_back(dluX(p.width));
        t.push_back(dluY(p.height));
        t.push_back(static_cast<WORD>(100 + i));
        const WORD classAtoms[] = {0x80, 0x82, 0x81};  // button, static, edit
        t.push_back(0xFFFF);
        t.push_back(classAtoms[Kind(i)]);
        PutWide(t, Kind(i) == 2 ? "" : "Text");
        t.push_back(0);
    }
}

LRESULT ColourAnswer(WPARAM dc, LPARAM control) {
    const int i = GetDlgCtrlID(reinterpret_cast<HWND>(control)) - 100;
    if (i < 0 || i >= rawRun->n) return 0;
    HBRUSH brush = rawRun->brushes[i];
    SetTextColor(reinterpret_cast<HDC>(dc), brush && !rawRun->shared.brush ? kOwnText : GetSysColor(COLOR_BTNTEXT));
    if (!brush) brush = rawRun->face;
    LOGBRUSH l;
    GetObjectA(brush, sizeof(l), &l);
    SetBkColor(reinterpret_cast<HDC>(dc), l.lbColor);
    return reinterpret_cast<LRESULT>(brush);
}

void DrawRawButton(const DRAWITEMSTRUCT* item) {
    RECT r = item->rcItem;
    DrawFrameControl(item->hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
    SetBkMode(item->hDC, TRANSPARENT);
    char caption[32];
    GetWindowTextA(item->hwndItem, caption, sizeof(caption));
    DrawTextA(item->hDC, caption, -1, const_cast<RECT*>(&item->rcItem), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

INT_PTR CALLBACK RawDialogProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC && message != WM_CTLCOLORDLG) {
        return static_cast<INT_PTR>(ColourAnswer(wParam, lParam));
    }
    if (message == WM_DRAWITEM) {
        DrawRawButton(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return FALSE;
}

LRESULT CALLBACK RawWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC && message != WM_CTLCOLORDLG) {
        return ColourAnswer(wParam, lParam);
    }
    if (message == WM_DRAWITEM) {
        DrawRawButton(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RawDefine(RawRun& run, Work work, int n) {
    run.n = n;
    if (work != kWindow) {
        BuildTemplate(run, n);
        return;
    }
    // Visible from the start, as the runtime makes its windows.
    run.window = CreateWindowExA(0, "ScalingRaw", "Scaling", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_VISIBLE,
                                 0, 0, 1020, 720, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    const char* const classes[] = {"BUTTON", "STATIC", "EDIT"};
    for (int i = 0; i < n; ++i) {
        const Placement p = Place(i);
        const DWORD exStyle = Kind(i) == 2 ? WS_EX_CLIENTEDGE : 0;  // as the runtime makes edit boxes
        CreateWindowExA(exStyle, classes[Kind(i)], Kind(i) == 2 ? "" : "Text", kRawStyles[Kind(i)], p.x, p.y, p.width,
                        p.height, run.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)),
                        GetModuleHandleA(nullptr), nullptr);
    }
}

void RawShow(RawRun& run, Work work, int n) {
    rawRun = &run;
    run.face = GetSysColorBrush(COLOR_BTNFACE);
    run.brushes.assign(n, nullptr);
    if (work != kWindow) {
        run.window = CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                                reinterpret_cast<DLGTEMPLATE*>(run.dialogTemplate.data()), nullptr,
                                                RawDialogProc, 0);
    }
    // Handles only where the program needs them, found as the runtime's
    // program finds them: one walk over the children.
    HWND c = work == kShared ? GetWindow(run.window, GW_CHILD) : nullptr;
    for (int i = 0; i < n; ++i, c = c ? GetWindow(c, GW_HWNDNEXT) : nullptr) {
        if (work == kShared) {
            SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(run.shared.font), FALSE);
            run.brushes[i] = run.shared.brush;
            if (Kind(i) == 0) SendMessageA(c, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(run.shared.bitmap));
        } else if (OwnColours(i)) {
            run.brushes[i] = CreateSolidBrush(kOwnBack);
        }
    }
    ShowAndPaint(run.window);
}

void RawClose(RawRun& run, Work work) {
    DestroyWindow(run.window);
    Drain();
    if (work == kShared) {
        DeleteObject(run.shared.brush);
        DeleteObject(run.shared.bitmap);
    } else {
        for (HBRUSH b : run.brushes) {
            if (b) DeleteObject(b);
        }
    }
}

// ---------------------------------------------------------------------------

struct Phases {
    double define, show, close;  // ms
};

template <typename Fn>
double Ms(Fn fn) {
    const double start = NowNs();
    fn();
    return (NowNs() - start) / 1e6;
}

void Mark(const char* what, const std::string& label) {
    GetPropA(GetDesktopWindow(), (std::string(what) + label).c_str());
}

// Times the three phases; with a label, each between request marks named
// LABEL-PHASE.SIDE.
template <typename Define, typename Show, typename Close>
Phases TimePhases(const std::string& label, const char* side, Define define, Show show, Close close) {
    const auto phase = [&](const char* name, auto fn) {
        const std::string mark = label + "-" + name + "." + side;
        if (!label.empty()) Mark("rt-begin:", mark);
        const double ms = Ms(fn);
        if (!label.empty()) Mark("rt-end:", mark + ":1");
        return ms;
    };
    return {phase("define", define), phase("show", show), phase("close", close)};
}

// One run of the work through the runtime, and directly against Win32.
Phases RunRuntime(Work work, int n, const std::string& label = "") {
    // Listed by the runtime until the program ends, so never reused.
    RuntimeRun run{new WindowRecord{}, {}, {}};
    if (work == kShared) run.shared = MakeShared();
    const Phases p = TimePhases(
        label, "rt", [&] { RuntimeDefine(run, work, n); }, [&] { RuntimeShow(run, work, n); },
        [&] { RuntimeClose(run); });
    if (work == kShared) DeleteObject(run.shared.font);  // the program's: controls leave fonts alone
    return p;
}

Phases RunRaw(Work work, int n, const std::string& label = "") {
    RawRun run;
    if (work == kShared) run.shared = MakeShared();
    const Phases p = TimePhases(
        label, "base", [&] { RawDefine(run, work, n); }, [&] { RawShow(run, work, n); },
        [&] { RawClose(run, work); });
    if (work == kShared) DeleteObject(run.shared.font);
    return p;
}

// Requests per pointer move over a hot-tracking button and over a system
// button: the pointer is put over each, then moves are posted and pumped.
void CountHover() {
    WindowRecord* record = new WindowRecord{};
    WindowCreate(record, 0, 0, 400, 200, WINOPT_NOBITMAP, nullptr, "Hover", QuietHandler);
    ControlAdd(record, CONTROL_HOT_BUTTON, "Hot", 20, 20, 120, 40, 0, 1);
    ControlAdd(record, CONTROL_SYSTEM_BUTTON, "System", 200, 20, 120, 40, 0, 2);
    ShowAndPaint(record->hwnd);
    for (int id : {1, 2}) {
        HWND button = GetDlgItem(record->hwnd, id);
        RECT r;
        GetWindowRect(button, &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        const auto move = [&] {
            PostMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(60, 20));
            Drain();
        };
        for (int i = 0; i < 20; ++i) move();  // hot from the first move on, and painted
        CountRequests(id == 1 ? "hover.rt" : "hover.base", move);
    }
    DestroyWindow(record->hwnd);
}

int Repetitions(int n) { return n <= 10 ? 15 : n <= 100 ? 7 : n <= 1000 ? 3 : 1; }

// "upto=N" leaves out the larger sizes and "once" repeats nothing: for a
// runtime whose cost is not linear.
int Largest(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "upto=", 5) == 0) return std::atoi(argv[i] + 5);
    }
    return kSizes[3];
}
bool Once(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "once") == 0) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    WNDCLASSA raw{};
    raw.lpfnWndProc = RawWindowProc;
    raw.hInstance = GetModuleHandleA(nullptr);
    raw.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    raw.lpszClassName = "ScalingRaw";
    RegisterClassA(&raw);
    // Classes, fonts and libraries loaded once, outside every figure.
    RunRuntime(kDialog, 3);
    RunRaw(kDialog, 3);
    RunRuntime(kWindow, 3);
    RunRaw(kWindow, 3);

    const int largest = Largest(argc, argv);
    if (Counting(argc, argv)) {
        CountHover();
        for (int w = kDialog; w <= kWindow; ++w) {
            for (int n : kSizes) {
                if (n > largest) break;
                const std::string label = std::string("scale-") + kWorkName[w] + "-" + std::to_string(n);
                RunRuntime(static_cast<Work>(w), n, label);
                RunRaw(static_cast<Work>(w), n, label);
            }
        }
        return 0;
    }
    const char* const names[] = {"define", "show", "close"};
    for (int w = kDialog; w <= kWindow; ++w) {
        double perControlAt10[3][2] = {};  // by phase: the runtime's, raw Win32's
        for (int n : kSizes) {
            if (n > largest) break;
            std::vector<double> rt[3], base[3];
            // Alternated, so that drift of the system meets both alike.
            for (int r = 0; r < (Once(argc, argv) ? 1 : Repetitions(n)); ++r) {
                const Phases a = RunRuntime(static_cast<Work>(w), n);
                const Phases b = RunRaw(static_cast<Work>(w), n);
                rt[0].push_back(a.define), rt[1].push_back(a.show), rt[2].push_back(a.close);
                base[0].push_back(b.define), base[1].push_back(b.show), base[2].push_back(b.close);
            }
            for (int ph = 0; ph < 3; ++ph) {
                const double figure = Median(rt[ph]);
                const double baseline = Median(base[ph]);
                // The scaling table's line; cmake/bench.sh adds the requests.
                std::printf("scale\t%s\t%d\t%s\t%.6g\t%.6g\n", kWorkName[w], n, names[ph], figure, baseline);
                if (n == kSizes[0]) {
                    perControlAt10[ph][0] = figure / n;
                    perControlAt10[ph][1] = baseline / n;
                } else if (n == kSizes[3]) {
                    const std::string growth = std::string("scaling ") + kWorkName[w] + " (" + kWorkText[w] +
                                               "), " + names[ph] + ": per control at 5,000 over 10 (vs raw)";
                    Row(growth.c_str(), figure / n / perControlAt10[ph][0], baseline / n / perControlAt10[ph][1],
                        "x", "<= 1.5");
                }
            }
            std::fflush(stdout);
        }
    }
    return 0;
}
