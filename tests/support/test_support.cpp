#include "test_support.h"

#include <cstdlib>

#include "rt_dialogs_internal.h"
#include "rt_events.h"
#include "rt_windows_internal.h"
#include "rt_winutil_internal.h"

#ifndef DBG_PRINTEXCEPTION_C
#define DBG_PRINTEXCEPTION_C 0x40010006L
#endif

namespace {

std::vector<std::string> capturedMessages;

LONG CALLBACK CaptureDebugPrint(EXCEPTION_POINTERS* pointers) {
    const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
    if (record->ExceptionCode == static_cast<DWORD>(DBG_PRINTEXCEPTION_C) &&
        record->NumberParameters >= 2) {
        const auto* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
        const size_t length = record->ExceptionInformation[0];
        // The length counts the terminator.
        capturedMessages.emplace_back(text, length > 0 ? length - 1 : 0);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

DebugOutputCapture::DebugOutputCapture() {
    capturedMessages.clear();
    handler_ = AddVectoredExceptionHandler(1, CaptureDebugPrint);
}

DebugOutputCapture::~DebugOutputCapture() {
    RemoveVectoredExceptionHandler(handler_);
}

const std::vector<std::string>& DebugOutputCapture::Messages() const {
    return capturedMessages;
}

int Cycles(int native) {
    static const bool whole = std::getenv("RT_TEST_CASE_LIMIT") != nullptr;
    return whole ? native / 5 : native;
}

std::string SiblingProgram(const char* fileName) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string result(path, length);
    const size_t slash = result.find_last_of("\\/");
    return result.substr(0, slash + 1) + fileName;
}

ProgramResult RunProgram(const std::string& path, const std::string& arguments,
                         DWORD timeoutMs) {
    ProgramResult result;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return result;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + path + "\" " + arguments;
    result.started = CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0,
                                    nullptr, nullptr, &startup, &process) != 0;
    CloseHandle(writeEnd);
    if (!result.started) {
        CloseHandle(readEnd);
        return result;
    }
    // Drain the pipe until the child closes it (at its exit), then wait.
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr)) break;
        if (available > 0) {
            char buffer[512];
            DWORD got = 0;
            if (!ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr)) break;
            result.output.append(buffer, got);
            continue;
        }
        if (WaitForSingleObject(process.hProcess, 10) == WAIT_OBJECT_0) {
            // Pick up anything written just before the exit.
            if (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available) continue;
            break;
        }
        if (GetTickCount() - start > timeoutMs) break;
    }
    result.finished = WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
    if (!result.finished) TerminateProcess(process.hProcess, 0xDEAD);
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(readEnd);
    return result;
}

namespace {

void WriteSlot(void** slot, void* value) {
    DWORD oldProtect = 0;
    VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &oldProtect);
    *slot = value;
    VirtualProtect(slot, sizeof(void*), oldProtect, &oldProtect);
}

void** FindImportSlot(const char* dll, const char* function) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return nullptr;
    for (auto* descriptor = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         descriptor->Name != 0; ++descriptor) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + descriptor->Name), dll) != 0) continue;
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(
            base + (descriptor->OriginalFirstThunk ? descriptor->OriginalFirstThunk : descriptor->FirstThunk));
        auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++addresses) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (lstrcmpA(reinterpret_cast<const char*>(byName->Name), function) == 0) {
                return reinterpret_cast<void**>(&addresses->u1.Function);
            }
        }
    }
    return nullptr;
}

}  // namespace

ScopedImportHook::ScopedImportHook(const char* dll, const char* function, void* replacement) {
    slot_ = FindImportSlot(dll, function);
    if (!slot_) return;
    original_ = *slot_;
    WriteSlot(slot_, replacement);
}

ScopedImportHook::~ScopedImportHook() {
    if (slot_) WriteSlot(slot_, original_);
}

void ResetRuntimeGlobals() {
    WindowListFree();
    CreatingDialog = nullptr;
    CreatingWindow = nullptr;
    MessageBoxHook = nullptr;
    EventMessage = 0;
    EventWParam = 0;
    EventLParam = 0;
    EventMouseX = 0;
    EventMouseY = 0;
    EventWindow = nullptr;
    EventControlId = 0;
    EventMenuId = 0;
    EventNotifyCode = 0;
}

namespace {

// Sets (or with null, removes) an environment variable; gives the old value.
std::string Swap(const char* name, const char* value) {
    char old[512] = "";
    GetEnvironmentVariableA(name, old, sizeof(old));
    SetEnvironmentVariableA(name, value && *value ? value : nullptr);
    return old;
}

}  // namespace

int StartedAtDpi() {
    const char* dpi = std::getenv("RT_TEST_DPI");
    return dpi ? std::atoi(dpi) : 0;
}

bool PassesAtDpi(int dpi, const char* filter, std::string* output) {
    HKEY desktop = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                    &desktop, nullptr);
    DWORD before = 0;
    DWORD size = sizeof(before);
    const bool had = RegQueryValueExA(desktop, "LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&before),
                                      &size) == ERROR_SUCCESS;
    const DWORD wanted = static_cast<DWORD>(dpi);
    RegSetValueExA(desktop, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&wanted), sizeof(wanted));
    // The child is a process of its own, whichever way this one runs.
    const std::string limit = Swap("RT_TEST_CASE_LIMIT", nullptr);
    const std::string results = Swap("RT_TEST_RESULTS", nullptr);
    Swap("RT_TEST_DPI", std::to_string(dpi).c_str());
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const ProgramResult run = RunProgram(path, std::string("--gtest_filter=") + filter, 600000);
    Swap("RT_TEST_DPI", nullptr);
    Swap("RT_TEST_RESULTS", results.c_str());
    Swap("RT_TEST_CASE_LIMIT", limit.c_str());
    if (had) {
        RegSetValueExA(desktop, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&before), sizeof(before));
    } else {
        RegDeleteValueA(desktop, "LogPixels");
    }
    RegCloseKey(desktop);
    // Its verdict must not read as this test's.
    *output = run.output;
    for (size_t at; (at = output->find("[  ")) != std::string::npos;) output->replace(at, 3, "[child ");
    return run.finished && run.exitCode == 0 && run.output.find("[  PASSED  ] 1 test.") != std::string::npos;
}
