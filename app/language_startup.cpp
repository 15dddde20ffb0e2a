// The language's own start-up and shut-down for programs whose entry is
// ProgramStartup: what the C runtime's start-up object does for a program
// with main, done here in the order END needs.
#include "language_startup.h"

#include <windows.h>

#include <cstdlib>

#include "rt_memory.h"

extern "C" {
// Bounds of the pseudo-relocation list, made by the linker.
extern const char __RUNTIME_PSEUDO_RELOC_LIST__[];
extern const char __RUNTIME_PSEUDO_RELOC_LIST_END__[];
// The constructor and destructor lists, made by the linker: a count or -1,
// the functions, a null.
extern void (*__CTOR_LIST__[])();
extern void (*__DTOR_LIST__[])();
}

// A linker symbol's address. On x86_64 GCC would otherwise read it from a
// pointer of its own in .rdata, one for each symbol.
#if defined(__x86_64__)
#define LINKER_SYMBOL(type, name) \
    ([] { type* address; __asm__("leaq " #name "(%%rip), %0" : "=r"(address)); return address; }())
#else
#define LINKER_SYMBOL(type, name) (name)
#endif

#if defined(__i386__)
extern "C" {
// The start of the unwind tables, from the stand-in of the compiler's first
// frame-registration object; the image's own headers say where they end.
extern const char CorvantisUnwindTablesBegin[];
extern const char __ImageBase[];
// The unwinder's registry. It comes in only with code that throws; a
// program without such code costs nothing for it.
void __register_frame_info(const void* begin, void* object) __attribute__((weak));
}
#endif

namespace {

struct ExitCall {
    ExitCall* next;
    void (*function)();
};

ExitCall* exitCalls;  // newest first

struct PseudoRelocation {
    DWORD symbol;  // import address slot, relative to the image
    DWORD target;  // the place to patch, relative to the image
    DWORD flags;   // low byte: width of the place in bits
};

typedef BOOL(WINAPI* ProtectFunction)(void*, SIZE_T, DWORD, DWORD*);

// The linkers make places of 32 bits, and on x86_64 of 64.
void Patch(ProtectFunction protect, char* place, DWORD bits, intptr_t delta) {
    DWORD old = 0;
    if (!protect(place, bits / 8, PAGE_EXECUTE_READWRITE, &old)) return;
    if (bits == 32) {
        *reinterpret_cast<int32_t*>(place) += static_cast<int32_t>(delta);
    } else if (bits == 64) {
        *reinterpret_cast<intptr_t*>(place) += delta;
    }
    protect(place, bits / 8, old, &old);
}

}  // namespace

// Code that refers to data of a system DLL as if it were its own (the C
// library's, for one) holds the address of the import slot; each such place
// is moved by the distance from the slot to the data. The linker refers to
// this name whenever it made such places, so the C runtime's own version,
// with its diagnostics and their stdio, never comes in.
extern "C" void _pei386_runtime_relocator() {
    const char* at = LINKER_SYMBOL(const char, __RUNTIME_PSEUDO_RELOC_LIST__);
    const char* const end = LINKER_SYMBOL(const char, __RUNTIME_PSEUDO_RELOC_LIST_END__);
    // Only the second format (a header of 0, 0, 1) is made by the linkers in use.
    const DWORD* header = reinterpret_cast<const DWORD*>(at);
    if (end - at < 12 || header[0] != 0 || header[1] != 0 || header[2] != 1) return;
    char* const base = reinterpret_cast<char*>(GetModuleHandleA(nullptr));
    // Looked up, not imported: most programs have no such places.
    const auto protect =
        reinterpret_cast<ProtectFunction>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"),
                                                                                 "VirtualProtect")));
    if (!protect) return;
    for (at += 12; end - at >= static_cast<ptrdiff_t>(sizeof(PseudoRelocation)); at += sizeof(PseudoRelocation)) {
        const auto* relocation = reinterpret_cast<const PseudoRelocation*>(at);
        char* const slot = base + relocation->symbol;
        const intptr_t delta = *reinterpret_cast<intptr_t*>(slot) - reinterpret_cast<intptr_t>(slot);
        Patch(protect, base + relocation->target, relocation->flags & 0xFF, delta);
    }
}

// Functions given to atexit, and the destructors of global and static
// objects that the compilers register through it, run at END, newest first.
// The nodes live on the runtime heap, which outlives them.
extern "C" int atexit(void (*function)()) {
    auto* call = static_cast<ExitCall*>(HeapAllocate(sizeof(ExitCall)));
    if (!call) return -1;
    call->function = function;
    call->next = exitCalls;
    exitCalls = call;
    return 0;
}

#if defined(__i386__)
// i686 code unwinds by tables that must be registered before anything
// throws: all of them as one, read once from the start to a zero word. No
// object of the program writes that word, or a program without tables would
// carry a file-alignment unit for it: the tables' section is followed by the
// zeros that fill its last page, unless it fills that page exactly, and then
// they are copied with one. Run once: built for size.
[[gnu::cold]] void RegisterUnwindTables() {
    if (!__register_frame_info) return;
    const char* const base = __ImageBase;
    const auto* headers =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(headers);
    const IMAGE_SECTION_HEADER* const end = section + headers->FileHeader.NumberOfSections;
    // The section the first stand-in begins.
    while (section < end && base + section->VirtualAddress != CorvantisUnwindTablesBegin) ++section;
    if (section == end) return;
    const void* tables = CorvantisUnwindTablesBegin;
    const DWORD size = section->Misc.VirtualSize;
    if ((size & (headers->OptionalHeader.SectionAlignment - 1)) == 0) {
        // Word by word (they are words): memcpy would import the C library
        // into programs that have no other use for it.
        auto* const copy = static_cast<volatile DWORD*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size + 4));
        if (!copy) return;
        for (DWORD w = 0; w < size / 4; ++w) copy[w] = reinterpret_cast<const DWORD*>(tables)[w];
        tables = const_cast<DWORD*>(copy);
    }
    // The unwinder's bookkeeping for one registration: six words.
    static void* object[8];
    __register_frame_info(tables, object);
}
#endif

// The compilers list global constructors in the reverse of their order.
void LanguageStartup() {
#if defined(__i386__)
    RegisterUnwindTables();
#endif
    using Function = void (*)();
    Function* const constructors = LINKER_SYMBOL(Function, __CTOR_LIST__);
    size_t count = 0;
    while (constructors[count + 1]) ++count;
    for (; count > 0; --count) constructors[count]();
}

void LanguageShutdown() {
    // One registered while these run is run too, before the heap goes.
    while (ExitCall* call = exitCalls) {
        exitCalls = call->next;
        call->function();
        HeapRelease(call);
    }
    using Function = void (*)();
    Function* const destructors = LINKER_SYMBOL(Function, __DTOR_LIST__);
    for (size_t i = 1; destructors[i]; ++i) destructors[i]();
}
