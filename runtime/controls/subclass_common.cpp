// Pieces shared by the subclass procedures.
#include "subclass_common.h"

namespace controls {

LRESULT AnswerColours(HWND window, WPARAM dc, HGDIOBJ brush) {
    HDC context = reinterpret_cast<HDC>(dc);
    SetTextColor(context, ColourProperty(window, RT_PROP_TEXT_COLOUR));
    SetBkColor(context, ColourProperty(window, RT_PROP_BACK_COLOUR));
    return reinterpret_cast<LRESULT>(brush);
}

namespace {

// A program may hand one brush or bitmap to several controls, or to two
// slots of one. An object goes only when no other attached control of this
// thread holds it, in a property or in its image slot.
struct HolderSearch {
    HWND leaving;
    HGDIOBJ object;
    bool attached;
    bool held;
};

HGDIOBJ Image(HWND window, UINT getImageMessage) {
    return reinterpret_cast<HGDIOBJ>(SendMessageA(window, getImageMessage, IMAGE_BITMAP, 0));
}

BOOL CALLBACK HoldsObject(HWND, LPSTR name, HANDLE value, ULONG_PTR search) {
    auto* s = reinterpret_cast<HolderSearch*>(search);
    if (value == s->object) s->held = true;
    if (!IS_INTRESOURCE(name) && TextEquals(name, RT_PROP_PREVIOUS_PROC)) s->attached = true;
    return TRUE;
}

// Only controls the runtime attached count: their properties are released.
BOOL CALLBACK CheckHolder(HWND window, LPARAM search) {
    auto* s = reinterpret_cast<HolderSearch*>(search);
    if (window == s->leaving) return TRUE;
    s->attached = false;
    s->held = false;
    EnumPropsExA(window, HoldsObject, search);
    if (!s->attached) {
        s->held = false;
        return TRUE;
    }
    char name[8];
    if (!s->held && GetClassNameA(window, name, sizeof(name)) != 0) {
        // The system's classes report their names in this spelling.
        const UINT message = TextEquals(name, "Button")   ? BM_GETIMAGE
                             : TextEquals(name, "Static") ? STM_GETIMAGE
                                                          : 0;
        s->held = message != 0 && Image(window, message) == s->object;
    }
    return !s->held;
}

BOOL CALLBACK CheckTopLevel(HWND window, LPARAM search) {
    if (!CheckHolder(window, search)) return FALSE;
    EnumChildWindows(window, CheckHolder, search);
    return !reinterpret_cast<HolderSearch*>(search)->held;
}

void DeleteUnlessHeld(HWND leaving, HGDIOBJ object) {
    HolderSearch search{leaving, object, false, false};
    EnumThreadWindows(GetCurrentThreadId(), CheckTopLevel, reinterpret_cast<LPARAM>(&search));
    if (!search.held) DeleteObject(object);
}

}  // namespace

void ReleaseImage(HWND window, UINT getImageMessage) {
    if (HGDIOBJ image = Image(window, getImageMessage)) DeleteUnlessHeld(window, image);
}

const PropertyRule kColourRules[5] = {
    {RT_PROP_BACK_BRUSH, true}, {RT_PROP_BACK_COLOUR, false}, {RT_PROP_TEXT_COLOUR, false},
    {RT_PROP_NOTIFY_TAB, false}, {RT_PROP_NOTIFY_ENTER, false},
};

void ReleaseControl(HWND window, const ControlKind& kind, WNDPROC previous) {
    // What the control owns, each object once, its properties gone first so
    // that the search for other holders does not find the control itself.
    HGDIOBJ owned[12];
    size_t count = 0;
    const auto own = [&](HGDIOBJ object) {
        if (!object) return;
        for (size_t i = 0; i < count; ++i) {
            if (owned[i] == object) return;
        }
        owned[count++] = object;
    };
    if (kind.getImageMessage) own(Image(window, kind.getImageMessage));
    for (size_t i = 0; i < kind.count; ++i) {
        HGDIOBJ object = RemovePropA(window, kind.properties[i].name);
        if (kind.properties[i].owned) own(object);
    }
    for (size_t i = 0; i < count; ++i) DeleteUnlessHeld(window, owned[i]);
    if (!previous) return;
    RemovePropA(window, RT_PROP_PREVIOUS_PROC);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
}

void DrawOutline(HDC dc, const RECT& r) {
    HGDIOBJ previous = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, previous);
}

void (*pictureLoader)(HWND, const char*, UINT, UINT);

void LoadImageIfPicture(HWND window, int32_t type, const char* text) {
    if (!pictureLoader) return;
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    UINT get = 0;
    UINT set = 0;
    if ((type == CONTROL_PUSH_BUTTON || type == CONTROL_HOT_BUTTON) && (style & BS_BITMAP) == BS_BITMAP) {
        get = BM_GETIMAGE;
        set = BM_SETIMAGE;
    } else if (type == CONTROL_LABEL && (style & SS_BITMAP) == SS_BITMAP) {
        get = STM_GETIMAGE;
        set = STM_SETIMAGE;
    } else {
        return;
    }
    // The text is read only for a picture: reading it is a message to the
    // control.
    char own[260];
    if (!text) {
        own[0] = 0;
        GetWindowTextA(window, own, sizeof(own));
        text = own;
    }
    pictureLoader(window, text, get, set);
}

RECT CaptionLayout(HWND button, const DRAWITEMSTRUCT* item, char (&caption)[255]) {
    caption[0] = 0;
    GetWindowTextA(button, caption, sizeof(caption));
    RECT text = item->rcItem;
    if (GetWindowLongPtrA(button, GWL_STYLE) & BS_MULTILINE) {
        RectInflate(text, -2 * GetSystemMetrics(SM_CXEDGE), -2 * GetSystemMetrics(SM_CYEDGE));
    }
    if (item->itemState & ODS_SELECTED) RectOffset(text, 1, 1);
    return text;
}

}  // namespace controls
