#include "gdi_ledger.h"

#include <set>

#include "test_support.h"

namespace {

struct LedgerState {
    std::set<HGDIOBJ> live;
    size_t created = 0;
    size_t foreign = 0;
    // Originals, called through by the hooks.
    HBRUSH(WINAPI* createSolidBrush)(COLORREF) = nullptr;
    HPEN(WINAPI* createPen)(int, int, COLORREF) = nullptr;
    HPEN(WINAPI* createPenIndirect)(const LOGPEN*) = nullptr;
    HRGN(WINAPI* createRectRgn)(int, int, int, int) = nullptr;
    HRGN(WINAPI* createRectRgnIndirect)(const RECT*) = nullptr;
    HRGN(WINAPI* createEllipticRgn)(int, int, int, int) = nullptr;
    HDC(WINAPI* createCompatibleDC)(HDC) = nullptr;
    HBITMAP(WINAPI* createCompatibleBitmap)(HDC, int, int) = nullptr;
    HBITMAP(WINAPI* createDIBSection)(HDC, const BITMAPINFO*, UINT, void**, HANDLE, DWORD) = nullptr;
    HFONT(WINAPI* createFontIndirectA)(const LOGFONTA*) = nullptr;
    HANDLE(WINAPI* loadImageA)(HINSTANCE, LPCSTR, UINT, int, int, UINT) = nullptr;
    BOOL(WINAPI* deleteObject)(HGDIOBJ) = nullptr;
    BOOL(WINAPI* deleteDC)(HDC) = nullptr;
};
LedgerState* ledger;

template <typename T>
T Record(T object) {
    if (object) {
        ledger->live.insert(reinterpret_cast<HGDIOBJ>(object));
        ++ledger->created;
    }
    return object;
}

void Forget(HGDIOBJ object) {
    if (ledger->live.erase(object) == 0) ++ledger->foreign;
}

HBRUSH WINAPI HookCreateSolidBrush(COLORREF c) { return Record(ledger->createSolidBrush(c)); }
HPEN WINAPI HookCreatePen(int s, int w, COLORREF c) { return Record(ledger->createPen(s, w, c)); }
HPEN WINAPI HookCreatePenIndirect(const LOGPEN* p) { return Record(ledger->createPenIndirect(p)); }
HRGN WINAPI HookCreateRectRgn(int a, int b, int c, int d) { return Record(ledger->createRectRgn(a, b, c, d)); }
HRGN WINAPI HookCreateRectRgnIndirect(const RECT* r) { return Record(ledger->createRectRgnIndirect(r)); }
HRGN WINAPI HookCreateEllipticRgn(int a, int b, int c, int d) { return Record(ledger->createEllipticRgn(a, b, c, d)); }
HDC WINAPI HookCreateCompatibleDC(HDC dc) { return Record(ledger->createCompatibleDC(dc)); }
HBITMAP WINAPI HookCreateCompatibleBitmap(HDC dc, int w, int h) {
    return Record(ledger->createCompatibleBitmap(dc, w, h));
}
HBITMAP WINAPI HookCreateDIBSection(HDC dc, const BITMAPINFO* i, UINT u, void** b, HANDLE s, DWORD o) {
    return Record(ledger->createDIBSection(dc, i, u, b, s, o));
}
HFONT WINAPI HookCreateFontIndirectA(const LOGFONTA* f) { return Record(ledger->createFontIndirectA(f)); }
HANDLE WINAPI HookLoadImageA(HINSTANCE m, LPCSTR n, UINT t, int w, int h, UINT f) {
    return Record(ledger->loadImageA(m, n, t, w, h, f));
}
BOOL WINAPI HookDeleteObject(HGDIOBJ object) {
    Forget(object);
    return ledger->deleteObject(object);
}
BOOL WINAPI HookDeleteDC(HDC dc) {
    Forget(dc);
    return ledger->deleteDC(dc);
}

template <typename F>
void Hook(std::vector<std::unique_ptr<ScopedImportHook>>& hooks, const char* dll, const char* name, F replacement,
          F* original) {
    auto hook = std::make_unique<ScopedImportHook>(dll, name, reinterpret_cast<void*>(replacement));
    if (!hook->Installed()) return;
    *original = reinterpret_cast<F>(hook->Original());
    hooks.push_back(std::move(hook));
}

}  // namespace

GdiLedger::GdiLedger() {
    ledger = new LedgerState;
    Hook(hooks_, "gdi32.dll", "CreateSolidBrush", HookCreateSolidBrush, &ledger->createSolidBrush);
    Hook(hooks_, "gdi32.dll", "CreatePen", HookCreatePen, &ledger->createPen);
    Hook(hooks_, "gdi32.dll", "CreatePenIndirect", HookCreatePenIndirect, &ledger->createPenIndirect);
    Hook(hooks_, "gdi32.dll", "CreateRectRgn", HookCreateRectRgn, &ledger->createRectRgn);
    Hook(hooks_, "gdi32.dll", "CreateRectRgnIndirect", HookCreateRectRgnIndirect, &ledger->createRectRgnIndirect);
    Hook(hooks_, "gdi32.dll", "CreateEllipticRgn", HookCreateEllipticRgn, &ledger->createEllipticRgn);
    Hook(hooks_, "gdi32.dll", "CreateCompatibleDC", HookCreateCompatibleDC, &ledger->createCompatibleDC);
    Hook(hooks_, "gdi32.dll", "CreateCompatibleBitmap", HookCreateCompatibleBitmap,
         &ledger->createCompatibleBitmap);
    Hook(hooks_, "gdi32.dll", "CreateDIBSection", HookCreateDIBSection, &ledger->createDIBSection);
    Hook(hooks_, "gdi32.dll", "CreateFontIndirectA", HookCreateFontIndirectA, &ledger->createFontIndirectA);
    Hook(hooks_, "user32.dll", "LoadImageA", HookLoadImageA, &ledger->loadImageA);
    Hook(hooks_, "gdi32.dll", "DeleteObject", HookDeleteObject, &ledger->deleteObject);
    Hook(hooks_, "gdi32.dll", "DeleteDC", HookDeleteDC, &ledger->deleteDC);
}

GdiLedger::~GdiLedger() {
    hooks_.clear();
    delete ledger;
    ledger = nullptr;
}

size_t GdiLedger::Live() const { return ledger->live.size(); }
size_t GdiLedger::Created() const { return ledger->created; }
size_t GdiLedger::ForeignDeletions() const { return ledger->foreign; }
bool GdiLedger::Installed() const {
    return ledger->createSolidBrush && ledger->deleteObject;
}
