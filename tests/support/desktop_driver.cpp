#include "desktop_driver.h"

#include <string>

namespace {

void SendKey(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
    Sleep(15);
}

void SendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
    Sleep(30);
}

struct ChildSearch {
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    char name[64];
    GetClassNameA(child, name, sizeof(name));
    if (lstrcmpiA(name, search->className) == 0) search->found.push_back(child);
    return TRUE;
}

}  // namespace

StartedProgram::StartedProgram(const char* path) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    std::string commandLine = std::string("\"") + path + "\"";
    if (!CreateProcessA(path, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_)) {
        process_ = PROCESS_INFORMATION{};
    }
}

StartedProgram::~StartedProgram() {
    if (!Started()) return;
    if (Running()) TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
}

bool StartedProgram::Running() const {
    return Started() && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD StartedProgram::ExitCode(DWORD timeoutMs) const {
    if (!Started() || WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = 0xDEADBEEF;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

namespace {

struct PaintSearch {
    DWORD process;
    bool pending;
};

BOOL CALLBACK CheckPainted(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<PaintSearch*>(param);
    if (IsWindowVisible(window) && GetUpdateRect(window, nullptr, FALSE)) search->pending = true;
    return !search->pending;
}

BOOL CALLBACK CheckTopLevelPainted(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<PaintSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process) return TRUE;
    if (CheckPainted(window, param)) EnumChildWindows(window, CheckPainted, param);
    return !search->pending;
}

}  // namespace

bool StartedProgram::WaitIdle(DWORD timeoutMs) const {
    if (!Running()) return false;
    WaitForInputIdle(process_.hProcess, timeoutMs);
    // Painted twice over, a moment apart: a paint may post more work.
    int quiet = 0;
    return WaitUntil(
        [&] {
            PaintSearch search{process_.dwProcessId, false};
            EnumWindows(CheckTopLevelPainted, reinterpret_cast<LPARAM>(&search));
            quiet = search.pending ? 0 : quiet + 1;
            return quiet >= 2;
        },
        timeoutMs);
}

HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindWindowA(className, title);
        if (window && IsWindowVisible(window)) {
            Sleep(150);  // let it finish painting
            return window;
        }
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(30);
    }
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
    return WaitUntil([window] { return !IsWindow(window); }, timeoutMs);
}

void ClickAt(int x, int y) {
    SetCursorPos(x, y);
    Sleep(50);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    Sleep(100);
}

void ClickCentreOf(HWND window) {
    const RECT r = WindowRect(window);
    ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void TypeText(const std::string& text) {
    for (char c : text) {
        const SHORT scan = VkKeyScanA(c);
        const WORD key = LOBYTE(scan);
        const bool shift = (HIBYTE(scan) & 1) != 0;
        if (shift) SendKey(VK_SHIFT, false);
        SendKey(key, false);
        SendKey(key, true);
        if (shift) SendKey(VK_SHIFT, true);
    }
    Sleep(100);
}

void PressKey(WORD virtualKey, int times) {
    for (int i = 0; i < times; ++i) {
        SendKey(virtualKey, false);
        SendKey(virtualKey, true);
    }
    Sleep(100);
}

void PressAltF4() {
    SendKey(VK_MENU, false);
    SendKey(VK_F4, false);
    SendKey(VK_F4, true);
    SendKey(VK_MENU, true);
    Sleep(100);
}

void SendInputAltLetter(char letter) {
    SendKey(VK_MENU, false);
    SendKey(static_cast<WORD>(letter), false);
    SendKey(static_cast<WORD>(letter), true);
    SendKey(VK_MENU, true);
    Sleep(200);
}

bool CloseBoxPoint(HWND window, POINT* point) {
    const RECT r = WindowRect(window);
    auto isClose = [window](int x, int y) {
        return SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE;
    };
    for (int y = r.top; y < r.top + 40; ++y) {
        for (int x = r.right - 1; x > r.right - 60; --x) {
            if (!isClose(x, y)) continue;
            int left = x;
            while (isClose(left - 1, y)) --left;
            int bottom = y;
            while (isClose(x, bottom + 1)) ++bottom;
            *point = POINT{(left + x) / 2, (y + bottom) / 2};
            return true;
        }
    }
    return false;
}

std::string WindowText(HWND window) {
    // Asked of the window itself: across processes GetWindowText only sees
    // the caption the system keeps, not an edit control's contents.
    char text[512];
    text[0] = 0;
    SendMessageA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring WindowTextWide(HWND window) {
    wchar_t text[512];
    text[0] = 0;
    SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

void PasteText(HWND edit, const std::wstring& text) {
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

std::vector<HWND> ChildrenOfClass(HWND parent, const char* className) {
    ChildSearch search{className, {}};
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT WindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT WorkArea() {
    RECT r;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}
