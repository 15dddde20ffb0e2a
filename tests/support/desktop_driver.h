// Driving another program's windows the way a person does: real mouse and
// keyboard input, reading what the windows show.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// How long to wait for another program: it works at its own pace, slowly
// under emulation. Waits poll for their condition, so this costs nothing
// when the program is quick.
constexpr DWORD kPatienceMs = 60000;

// Polls the condition until it holds (true) or the time is up (false).
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = kPatienceMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(30);
    }
    return true;
}

// A program started for a test and ended (if still running) with it.
class StartedProgram {
public:
    explicit StartedProgram(const char* path);
    ~StartedProgram();
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;
    bool Started() const { return process_.hProcess != nullptr; }
    bool Running() const;
    // The exit code once it has ended within the timeout, else STILL_ACTIVE.
    DWORD ExitCode(DWORD timeoutMs = kPatienceMs) const;
    // Waits until the program waits for input with nothing queued and none
    // of its windows has anything left to paint: the moment to take its
    // picture. False when that did not come within the timeout.
    bool WaitIdle(DWORD timeoutMs = kPatienceMs) const;
private:
    PROCESS_INFORMATION process_{};
};

// Polls for a visible top-level window until the timeout; null if none came.
HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs = kPatienceMs);
// Polls until the window is gone.
bool WaitForWindowGone(HWND window, DWORD timeoutMs = kPatienceMs);

void ClickAt(int x, int y);
void ClickCentreOf(HWND window);
// Types text as key presses (shift for capitals).
void TypeText(const std::string& text);
void PressKey(WORD virtualKey, int times = 1);
void PressAltF4();
// Puts text in at the caret as pasting does (the clipboard itself is
// another program's business under Wine, and slow to hand over).
void PasteText(HWND edit, const std::wstring& text);
// Alt and a letter together, as for a menu mnemonic.
void SendInputAltLetter(char letter);
// The screen point of a window's close box, found by hit-testing its caption.
bool CloseBoxPoint(HWND window, POINT* point);

std::string WindowText(HWND window);
// The text as UTF-16, whatever code page either program uses.
std::wstring WindowTextWide(HWND window);
// Children of a window with the given class, in creation order.
std::vector<HWND> ChildrenOfClass(HWND parent, const char* className);
RECT WindowRect(HWND window);
RECT WorkArea();
