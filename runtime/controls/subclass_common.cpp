// Pieces shared by the subclass procedures.
#include "subclass_common.h"

#include "rt_numbers.h"
#include "rt_strings.h"

namespace controls {

namespace {

// Texts are examined in a 260-byte buffer; a longer text names no image
// rather than a different, cut-off one.
constexpr int32_t kImageTextLimit = 259;

}  // namespace

LRESULT AnswerColours(HWND window, WPARAM dc, HGDIOBJ brush) {
    HDC context = reinterpret_cast<HDC>(dc);
    SetTextColor(context, ColourProperty(window, RT_PROP_TEXT_COLOUR));
    SetBkColor(context, ColourProperty(window, RT_PROP_BACK_COLOUR));
    return reinterpret_cast<LRESULT>(brush);
}

namespace {

void ReleaseImage(HWND window, UINT getImageMessage) {
    HGDIOBJ image = reinterpret_cast<HGDIOBJ>(SendMessageA(window, getImageMessage, IMAGE_BITMAP, 0));
    if (image) DeleteObject(image);
}

constexpr PropertyRule kColours[] = {
    {RT_PROP_BACK_BRUSH, true}, {RT_PROP_BACK_COLOUR, false}, {RT_PROP_TEXT_COLOUR, false},
    {RT_PROP_NOTIFY_TAB, false}, {RT_PROP_NOTIFY_ENTER, false},
};
constexpr PropertyRule kHotButton[] = {
    {RT_PROP_HOT_BRUSH, true},     {RT_PROP_BACK_BRUSH, true},    {RT_PROP_BACK_COLOUR, false},
    {RT_PROP_TEXT_COLOUR, false},  {RT_PROP_HOT, false},          {RT_PROP_HOT_COLOUR, false},
    {RT_PROP_BORDER_WIDTH, false}, {RT_PROP_HOT_BITMAP, true},    {RT_PROP_NORMAL_BITMAP, true},
    {RT_PROP_PUSHED_BITMAP, true},
};

}  // namespace

// Generic controls carry the colours and the notification flags; push
// buttons and labels the colours alone, with an image slot.
const ControlKind kGenericKind{kColours, 5, 0};
const ControlKind kPushButtonKind{kColours, 3, BM_GETIMAGE};
const ControlKind kLabelKind{kColours, 3, STM_GETIMAGE};
const ControlKind kHotButtonKind{kHotButton, sizeof(kHotButton) / sizeof(kHotButton[0]), BM_GETIMAGE};

void ReleaseControl(HWND window, const ControlKind& kind, WNDPROC previous) {
    if (kind.getImageMessage) ReleaseImage(window, kind.getImageMessage);
    for (size_t i = 0; i < kind.count; ++i) {
        HGDIOBJ object = RemovePropA(window, kind.properties[i].name);
        if (object && kind.properties[i].owned) DeleteObject(object);
    }
    if (!previous) return;
    RemovePropA(window, RT_PROP_PREVIOUS_PROC);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
}

void DrawOutline(HDC dc, const RECT& r) {
    HGDIOBJ previous = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, previous);
}

void LoadImageFromText(HWND window, const char* text, UINT getImageMessage, UINT setImageMessage) {
    ReleaseImage(window, getImageMessage);
    HANDLE image = nullptr;
    if (StrLength(text) <= kImageTextLimit) {
        char buffer[kImageTextLimit + 1];
        StrCopy(buffer, text);
        UINT flags = LR_CREATEDIBSECTION;
        HINSTANCE module = nullptr;
        const char* name = buffer;
        if (StrFind(buffer, ":", 1) != 0) {
            flags |= LR_LOADFROMFILE;  // a drive or scheme colon: a file path
        } else {
            module = GetModuleHandleA(nullptr);
            const double value = TextToReal(buffer);
            // Resource numbers are 16 bits; anything else is looked up by name.
            if (value > 0 && value < 65535.5) {
                const int32_t number = RoundNearest(value);
                if (number > 0) name = MAKEINTRESOURCEA(number);
            }
        }
        image = LoadImageA(module, name, IMAGE_BITMAP, 0, 0, flags);
    }
    SendMessageA(window, setImageMessage, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
}

void LoadImageIfPicture(HWND window, int32_t type, const char* text) {
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    if ((type == CONTROL_PUSH_BUTTON || type == CONTROL_HOT_BUTTON) && (style & BS_BITMAP) == BS_BITMAP) {
        LoadImageFromText(window, text, BM_GETIMAGE, BM_SETIMAGE);
    } else if (type == CONTROL_LABEL && (style & SS_BITMAP) == SS_BITMAP) {
        LoadImageFromText(window, text, STM_GETIMAGE, STM_SETIMAGE);
    }
}

RECT CaptionLayout(HWND button, const DRAWITEMSTRUCT* item, char (&caption)[255]) {
    caption[0] = 0;
    GetWindowTextA(button, caption, sizeof(caption));
    RECT text = item->rcItem;
    if (GetWindowLongA(button, GWL_STYLE) & BS_MULTILINE) {
        InflateRect(&text, -2 * GetSystemMetrics(SM_CXEDGE), -2 * GetSystemMetrics(SM_CYEDGE));
    }
    if (item->itemState & ODS_SELECTED) OffsetRect(&text, 1, 1);
    return text;
}

}  // namespace controls
