// Which attached controls hold which GDI objects. A program may hand one
// brush or bitmap to several controls, or to two slots of one; the object
// goes with the last of them. Holders are noted when the runtime meets an
// object in a control (an image set through the control, a slot read to draw
// or answer colours, a control read once before an object would go), so that
// a release costs the same however many windows exist. The same table keeps,
// per runtime window, what ControlAdd needs to skip a search of the children
// for a new identifier.
#include "rt_memory.h"
#include "subclass_common.h"

namespace {

// One open-addressed table for three kinds of entry: what the runtime last
// saw in a control's slot (key: the control, and the slot), how many such
// slots hold each object (key: the object, and slot 0), and the objects
// waiting for a decision (below). A free place has key 0; a removed entry
// keeps its key with slot kGone, so that searches go on past it, until the
// table is rebuilt.
struct Entry {
    uintptr_t key;
    uintptr_t slot;
    uintptr_t value;
};
constexpr uintptr_t kGone = ~static_cast<uintptr_t>(0);

Entry* table;
size_t capacity;  // a power of two, or 0
size_t filled;    // places not free
size_t live;      // entries not removed

// Objects of controls released while a window and its children are being
// destroyed are decided once all of them have gone, so that children sharing
// an object they never drew with are not each taken for its last holder.
// They wait in the table too (key: the object, and kWaiting), each entry
// naming the one that came before.
constexpr uintptr_t kWaiting = 7;
// For a runtime window (key: the window, and kChildIds): one more than the
// largest low 16 bits of an identifier among the children it has seen made.
constexpr uintptr_t kChildIds = 8;
// Slots above kChildIds belong to KeepValue's callers, up to kUnread: a
// control attached and not yet read for what it holds (value: what to read).
constexpr uintptr_t kUnread = 0xFF;
constexpr uintptr_t kReadBrush = 1;
constexpr uintptr_t kReadHotObjects = 2;
HGDIOBJ lastWaiting;
int releaseDepth;

// How many controls are marked unread. A program may put an object into a
// control with SetPropA before the runtime meets it there, so before an
// object goes for want of a holder the unread ones are read, each once.
size_t unreadCount;

Entry* Lookup(uintptr_t key, uintptr_t slot, bool add);

// Into a new table of at least four places per live entry, dropping the
// removed ones; in global memory as the runtime's other long-lived records.
bool Rebuild() {
    size_t size = 64;
    while (size < live * 4) size *= 2;
    void* block = nullptr;
    if (GlobalArrayAlloc(&block, static_cast<int32_t>(size), sizeof(Entry)) != 0) return false;
    Entry* const old = table;
    const size_t oldCapacity = capacity;
    table = static_cast<Entry*>(block);
    capacity = size;
    filled = live = 0;
    for (size_t i = 0; i < oldCapacity; ++i) {
        if (old[i].key && old[i].slot != kGone) Lookup(old[i].key, old[i].slot, true)->value = old[i].value;
    }
    GlobalArrayFree(old);
    return true;
}

// The entry for (key, slot); with add, made (value 0) when missing. Null
// when missing, or when no memory can be had for it.
Entry* Lookup(uintptr_t key, uintptr_t slot, bool add) {
    if (add && (filled + 1) * 2 > capacity && !Rebuild()) return nullptr;
    if (!capacity) return nullptr;
    const uint64_t mixed = (static_cast<uint64_t>(key) * 8 + slot) * 0x9E3779B97F4A7C15ull;
    size_t i = static_cast<size_t>(mixed >> 32) & (capacity - 1);
    for (; table[i].key; i = (i + 1) & (capacity - 1)) {
        if (table[i].key == key && table[i].slot == slot) return &table[i];
    }
    if (!add) return nullptr;
    ++filled;
    ++live;
    table[i] = {key, slot, 0};
    return &table[i];
}

void Remove(Entry* entry) {
    entry->slot = kGone;
    --live;
}

void CountHolder(HGDIOBJ object, int delta) {
    Entry* count = Lookup(reinterpret_cast<uintptr_t>(object), 0, delta > 0);
    if (!count) return;
    count->value += delta;
    if (count->value == 0) Remove(count);
}

}  // namespace

namespace controls {

void NoteHolder(HWND control, uint8_t slot, HGDIOBJ object) {
    Entry* seen = Lookup(reinterpret_cast<uintptr_t>(control), slot, object != nullptr);
    if (!seen || seen->value == reinterpret_cast<uintptr_t>(object)) return;
    if (HGDIOBJ before = reinterpret_cast<HGDIOBJ>(seen->value)) CountHolder(before, -1);
    seen->value = reinterpret_cast<uintptr_t>(object);
    if (object) {
        CountHolder(object, +1);
    } else {
        Remove(seen);
    }
}

void NoteAttached(HWND control, bool hot) {
    Entry* mark = Lookup(reinterpret_cast<uintptr_t>(control), kUnread, true);
    if (!mark) return;
    if (!mark->value) ++unreadCount;
    mark->value = hot ? kReadHotObjects : kReadBrush;
}

void NoteReleased(HWND control) {
    if (Entry* mark = Lookup(reinterpret_cast<uintptr_t>(control), kUnread, false)) {
        Remove(mark);
        --unreadCount;
    }
}

void LetGo(const HGDIOBJ* objects, size_t count) {
    ControlsReleaseBegin();
    for (size_t i = 0; i < count; ++i) {
        HGDIOBJ object = objects[i];
        const size_t before = live;
        Entry* waiting = object ? Lookup(reinterpret_cast<uintptr_t>(object), kWaiting, true) : nullptr;
        // Listed once, however many slots held it.
        if (waiting && live != before) {
            waiting->value = reinterpret_cast<uintptr_t>(lastWaiting);
            lastWaiting = object;
        }
    }
    ControlsReleaseEnd();
}

}  // namespace controls

void ControlsReleaseBegin() { ++releaseDepth; }

namespace {

// What each unread control holds, noted; then none is unread. Found by a
// walk of the table, whose size follows the entries of living windows.
void ReadUnread() {
    for (size_t i = 0; unreadCount && i < capacity; ++i) {
        Entry* const mark = &table[i];
        if (!mark->key || mark->slot != kUnread) continue;
        HWND control = reinterpret_cast<HWND>(mark->key);
        const bool hot = mark->value == kReadHotObjects && controls::noteHotObjects;
        Remove(mark);
        --unreadCount;
        const Entry* const before = table;
        if (hot) {
            controls::noteHotObjects(control);
        } else if (HGDIOBJ brush = GetPropA(control, RT_PROP_BACK_BRUSH)) {
            controls::NoteHolder(control, controls::kBackBrushSlot, brush);
        }
        // Noting may have made the table anew: walk it again from its start.
        if (table != before) i = ~static_cast<size_t>(0);
    }
}

}  // namespace

void ControlsReleaseEnd() {
    if (releaseDepth == 0 || --releaseDepth != 0) return;
    // An object no control is known to hold may be in one not read yet.
    for (HGDIOBJ object = lastWaiting; object && unreadCount;) {
        Entry* waiting = Lookup(reinterpret_cast<uintptr_t>(object), kWaiting, false);
        if (!Lookup(reinterpret_cast<uintptr_t>(object), 0, false)) {
            ReadUnread();
            break;
        }
        object = reinterpret_cast<HGDIOBJ>(waiting->value);
    }
    // Deleted unless a control the runtime knows of still holds it, or
    // gone already: an object the program put into a control after it was
    // read, and that the control has not drawn with since, went with the
    // first holder.
    while (HGDIOBJ object = lastWaiting) {
        Entry* waiting = Lookup(reinterpret_cast<uintptr_t>(object), kWaiting, false);
        lastWaiting = reinterpret_cast<HGDIOBJ>(waiting->value);
        Remove(waiting);
        if (!Lookup(reinterpret_cast<uintptr_t>(object), 0, false) && GetObjectType(object) != 0) DeleteObject(object);
    }
}

uintptr_t KeptValue(const void* key, uint8_t slot) {
    const Entry* kept = Lookup(reinterpret_cast<uintptr_t>(key), slot, false);
    return kept ? kept->value : 0;
}

void KeepValue(const void* key, uint8_t slot, uintptr_t value) {
    Entry* kept = Lookup(reinterpret_cast<uintptr_t>(key), slot, value != 0);
    if (!kept) return;
    kept->value = value;
    if (!value) Remove(kept);
}

void NoteChildId(HWND parent, int32_t id) {
    Entry* seen = Lookup(reinterpret_cast<uintptr_t>(parent), kChildIds, true);
    const uintptr_t above = static_cast<uintptr_t>(id & 0xFFFF) + 1;
    if (seen && seen->value < above) seen->value = above;
}

bool ChildIdFree(HWND parent, int32_t id) {
    Entry* seen = Lookup(reinterpret_cast<uintptr_t>(parent), kChildIds, false);
    return seen && static_cast<uintptr_t>(id & 0xFFFF) >= seen->value;
}

void ForgetChildIds(HWND parent) {
    if (Entry* seen = Lookup(reinterpret_cast<uintptr_t>(parent), kChildIds, false)) Remove(seen);
}
