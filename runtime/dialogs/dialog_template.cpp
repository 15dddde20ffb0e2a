// The dialog template in the platform's in-memory format, built from a
// definition each time the dialog is shown.
//
// Size and writer measure every string the same bounded way (a title within
// its 256-byte field, a class name within its 32 bytes, a control text up to
// its terminator), so the writer can never pass the size it was given.
#include <windows.h>

#include <cstring>

#include "rt_dialogs_internal.h"
#include "rt_strings.h"

namespace {

constexpr WORD kPointSize = 8;

// Length of text within a field of `room` bytes (a missing terminator counts
// as one at the end of the field).
int32_t BoundedLength(const char* text, int32_t room) {
    if (!text) return 0;
    int32_t n = 0;
    while (n < room - 1 && text[n] != 0) ++n;
    return n;
}

// UTF-16 code units of the first `length` bytes in the ANSI code page, plus
// the terminator.
int32_t WideUnits(const char* text, int32_t length) {
    if (length <= 0) return 1;
    return MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0) + 1;
}

// Converts and terminates; returns the bytes written.
size_t PutWide(BYTE* at, const char* text, int32_t length) {
    auto* out = reinterpret_cast<WCHAR*>(at);
    int32_t units = 0;
    if (length > 0) units = MultiByteToWideChar(CP_ACP, 0, text, length, out, WideUnits(text, length));
    out[units] = 0;
    return 2 * static_cast<size_t>(units + 1);
}

void PutWord(BYTE* at, int32_t value) {
    const WORD word = static_cast<WORD>(value & 0xFFFF);
    std::memcpy(at, &word, sizeof(word));
}

void PutDword(BYTE* at, uint32_t value) { std::memcpy(at, &value, sizeof(value)); }

size_t AlignUp(size_t offset) { return (offset + 3) & ~static_cast<size_t>(3); }

int32_t TitleLength(const DialogDefinition* d) { return BoundedLength(d->title, sizeof(d->title)); }
int32_t ClassLength(const ControlDefinition* c) { return BoundedLength(c->className, sizeof(c->className)); }
int32_t TextLength(const ControlDefinition* c) { return c->text ? StrLength(c->text) : 0; }

constexpr int64_t kHeaderBound = 18 + 2 + 2 * (sizeof(kDialogClassName) - 1) + 1 + 2 + 2 * (sizeof(kDialogTypeface) - 1) + 16;
constexpr int32_t kMaxItems = 0xFFFF;

// The template size, given the UTF-16 units of each string (terminator
// included) by `units`.
template <typename Units>
int64_t TemplateBytes(const DialogDefinition* definition, Units units) {
    int64_t size = kHeaderBound + 2 * static_cast<int64_t>(units(definition->title, TitleLength(definition)));
    for (const ControlDefinition* c = definition->controls; c; c = c->next) {
        size += 18 + 2 * static_cast<int64_t>(units(c->className, ClassLength(c)));
        size += 2 * static_cast<int64_t>(units(c->text, TextLength(c)));  // a missing text is written as ""
        size += 2;
        size = (size + 3) & ~static_cast<int64_t>(3);
        if (size > INT32_MAX) break;  // too large already
    }
    return size;
}

// Whether the template's words hold every coordinate and the item count, and
// the whole fits a block. ANSI text never gives more UTF-16 units than bytes,
// so the byte count bounds the size without converting gigabytes.
bool TemplateCanHold(const DialogDefinition* definition) {
    if (!DialogUnitsFit(DialogUnitRect{definition->x, definition->y, definition->cx, definition->cy})) return false;
    int32_t count = 0;
    for (const ControlDefinition* c = definition->controls; c; c = c->next) {
        if (++count > kMaxItems || !DialogUnitsFit(DialogUnitRect{c->x, c->y, c->cx, c->cy})) return false;
    }
    return TemplateBytes(definition, [](const char*, int32_t length) { return int64_t{length} + 1; }) <= INT32_MAX;
}

}  // namespace

int32_t DialogTemplateSize(const DialogDefinition* definition) {
    if (!definition || !TemplateCanHold(definition)) return 0;
    return static_cast<int32_t>(TemplateBytes(definition, WideUnits));
}

int32_t DialogTemplateWrite(void* block, const DialogDefinition* definition) {
    if (!block || !definition || !TemplateCanHold(definition)) return 0;
    auto* base = static_cast<BYTE*>(block);
    int32_t count = 0;
    for (const ControlDefinition* c = definition->controls; c; c = c->next) ++count;

    PutDword(base + 0, definition->style);
    PutDword(base + 4, definition->exStyle);
    PutWord(base + 8, count);
    PutWord(base + 10, definition->x);
    PutWord(base + 12, definition->y);
    PutWord(base + 14, definition->cx);
    PutWord(base + 16, definition->cy);
    PutWord(base + 18, 0);  // no menu
    size_t at = 20;
    at += PutWide(base + at, kDialogClassName, StrLength(kDialogClassName));
    at += PutWide(base + at, definition->title, TitleLength(definition));
    PutWord(base + at, kPointSize);
    at += 2;
    at += PutWide(base + at, kDialogTypeface, StrLength(kDialogTypeface));
    at = AlignUp(at);

    for (const ControlDefinition* c = definition->controls; c; c = c->next) {
        BYTE* item = base + at;
        PutDword(item + 0, c->style);
        PutDword(item + 4, c->exStyle);
        PutWord(item + 8, c->x);
        PutWord(item + 10, c->y);
        PutWord(item + 12, c->cx);
        PutWord(item + 14, c->cy);
        PutWord(item + 16, c->id);
        at += 18;
        at += PutWide(base + at, c->className, ClassLength(c));
        at += PutWide(base + at, c->text, TextLength(c));
        PutWord(base + at, 0);  // no creation data
        at = AlignUp(at + 2);
    }
    return 0;
}
