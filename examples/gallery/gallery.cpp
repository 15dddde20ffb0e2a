// A tour of the runtime: an MDI frame with a toolbar and a status bar, a child
// with every other control type, a child with owner-drawn buttons in each state and
// a hot-tracking button with a region and bitmaps, a child that draws into its
// backing bitmap, and a modal dialog opened from a menu.
#include <windows.h>

#include <commctrl.h>

#include <initializer_list>

#include "rt_controls.h"
#include "rt_dialogs.h"
#include "rt_dpi.h"
#include "rt_events.h"
#include "rt_program.h"
#include "rt_windows.h"
#include "rt_winutil.h"

namespace {

WindowRecord Frame;
WindowRecord ControlsChild;
WindowRecord ButtonsChild;
WindowRecord CanvasChild;
WindowRecord AboutDialog;
bool Running = true;

// Menu and toolbar commands of the gallery itself.
constexpr int32_t kCommandAbout = 100;
constexpr int32_t kCommandExit = 101;
constexpr int32_t kToolbarId = 200;
constexpr int32_t kStatusBarId = 201;
constexpr int32_t kDefaultButtonId = 12;
constexpr int32_t kHotButtonId = 20;

void SetStatus(const char* text) {
    SendMessageA(GetDlgItem(Frame.hwnd, kStatusBarId), SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
}

// The bars follow the frame's width before the runtime fits the MDI client
// between them.
void ResizeBars() {
    SendDlgItemMessageA(Frame.hwnd, kToolbarId, TB_AUTOSIZE, 0, 0);
    SendDlgItemMessageA(Frame.hwnd, kStatusBarId, WM_SIZE, 0, 0);
}

// A child's close box only raises EVENT_CLOSE; the MDI client closes it.
void CloseChild(const WindowRecord* child) {
    SendMessageA(Frame.mdiClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child->hwnd), 0);
}

int32_t ChildHandler() {
    if (EventMessage == EVENT_CLOSE) CloseChild(EventWindow);
    return 0;
}

HANDLE Value(uintptr_t value) { return reinterpret_cast<HANDLE>(value); }

// --- The modal dialog -------------------------------------------------------

int32_t AboutHandler() {
    switch (EventMessage) {
        case WM_INITDIALOG:
            CenterWindow(&AboutDialog);
            break;
        case EVENT_CONTROL:
            if (EventControlId == IDOK && EventNotifyCode == BN_CLICKED) DialogClose(&AboutDialog, IDOK);
            break;
        default:
            break;
    }
    return 0;
}

void ShowAbout() {
    // Defined once; every showing builds a fresh template from the definition.
    if (!AboutDialog.definition) {
        DialogCreate(&AboutDialog, 0, 0, 300, 130, WS_CAPTION | WS_SYSMENU, &Frame, "About the Gallery",
                     AboutHandler);
        ControlAdd(&AboutDialog, CONTROL_LABEL, "A modal dialog, defined in pixels.", 16, 16, 260, 20, 0, 1000);
        ControlAdd(&AboutDialog, CONTROL_LABEL, "Enter or Close ends it.", 16, 40, 260, 20, 0, 1001);
        ControlAdd(&AboutDialog, CONTROL_PUSH_BUTTON, "Close", 200, 80, 80, 24, BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK);
    }
    SetStatus("About dialog open");
    DialogDoModal(&AboutDialog, nullptr);
    SetStatus("Ready");
}

// --- The frame -----------------------------------------------------------------

int32_t FrameHandler() {
    switch (EventMessage) {
        case EVENT_MENU:
            if (EventMenuId == kCommandAbout) ShowAbout();
            if (EventMenuId == kCommandExit) PostMessageA(Frame.hwnd, WM_CLOSE, 0, 0);
            if (EventMenuId == IDM_TILE) SetStatus("Tiled");
            if (EventMenuId == IDM_CASCADE) SetStatus("Cascaded");
            break;
        case EVENT_CONTROL:
            // Toolbar buttons arrive as control events; hand them to the menu path.
            if (EventControlId == kCommandAbout || EventControlId == IDM_TILE || EventControlId == IDM_CASCADE) {
                PostMessageA(Frame.hwnd, WM_COMMAND, static_cast<WPARAM>(EventControlId), 0);
            }
            break;
        case EVENT_SIZE:
            ResizeBars();
            break;
        case EVENT_CLOSE:
            DestroyWindow(Frame.hwnd);
            break;
        case WM_DESTROY:
            Running = false;
            break;
        default:
            break;
    }
    return 0;
}

void AddGalleryMenu() {
    HMENU bar = GetMenu(Frame.hwnd);
    HMENU gallery = CreatePopupMenu();
    AppendMenuA(gallery, MF_STRING, kCommandAbout, "&About dialog...");
    AppendMenuA(gallery, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(gallery, MF_STRING, kCommandExit, "E&xit");
    InsertMenuA(bar, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(gallery), "&Gallery");
    DrawMenuBar(Frame.hwnd);
}

void AddToolbar() {
    HWND toolbar = ControlAddByClass(&Frame, TOOLBARCLASSNAMEA, "", 0, 0, 0, 0,
                                     CCS_TOP | TBSTYLE_FLAT | TBSTYLE_LIST, 0, kToolbarId);
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    const char* const labels[] = {"Cascade", "Tile", "About"};
    const int commands[] = {IDM_CASCADE, IDM_TILE, kCommandAbout};
    TBBUTTON buttons[3] = {};
    for (int i = 0; i < 3; ++i) {
        const INT_PTR text = SendMessageA(toolbar, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(labels[i]));
        buttons[i].iBitmap = I_IMAGENONE;
        buttons[i].idCommand = commands[i];
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
        buttons[i].iString = text;
    }
    SendMessageA(toolbar, TB_ADDBUTTONSA, 3, reinterpret_cast<LPARAM>(buttons));
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
    FitClientToBars(Frame.hwnd, Frame.mdiClient);
}

// --- A child with every control type ---------------------------------------------

void FillControls() {
    WindowRecord* w = &ControlsChild;
    ControlAdd(w, CONTROL_GROUP_BOX, "Buttons", 8, 4, 200, 112, 0, 1);
    ControlAdd(w, CONTROL_PUSH_BUTTON, "Owner-drawn", 18, 24, 120, 24, 0, 2);
    ControlAdd(w, CONTROL_SYSTEM_BUTTON, "System", 18, 52, 120, 24, 0, 3);
    ControlAdd(w, CONTROL_CHECK_BOX, "Check box", 18, 82, 90, 20, 0, 4);
    ControlAdd(w, CONTROL_RADIO_BUTTON, "Radio", 112, 82, 80, 20, 0, 5);
    ControlAdd(w, CONTROL_LABEL, "Edit:", 220, 10, 40, 20, 0, 6);
    ControlAdd(w, CONTROL_EDIT, "type here", 262, 8, 150, 22, 0, 7);
    ControlAdd(w, CONTROL_COMBO_BOX, "", 262, 36, 150, 120, CBS_DROPDOWNLIST, 8);
    ControlAdd(w, CONTROL_LIST_BOX, "", 220, 64, 192, 60, WS_VSCROLL, 9);
    ControlAdd(w, CONTROL_SCROLL_BAR, "", 8, 124, 404, 16, SBS_HORZ, 10);
    ControlAdd(w, CONTROL_RICH_EDIT, "Rich edit", 8, 146, 200, 40, WS_BORDER, 11);
    ControlAdd(w, CONTROL_LIST_VIEW, "", 220, 146, 192, 60, LVS_LIST | WS_BORDER, 12);
    ControlAdd(w, CONTROL_TREE_VIEW, "", 8, 192, 200, 60, WS_BORDER | TVS_HASLINES, 13);
    ControlAdd(w, CONTROL_HOT_BUTTON, "Hot", 220, 212, 90, 26, 0, 14);
    // The status bar type is the frame's: one here would take the frame's
    // room too, since bar fitting counts every bar inside the frame.
    for (const char* item : {"First", "Second", "Third"}) {
        SendDlgItemMessageA(w->hwnd, 8, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendDlgItemMessageA(w->hwnd, 9, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    SendDlgItemMessageA(w->hwnd, 8, CB_SETCURSEL, 0, 0);
    LVITEMA row{};
    row.mask = LVIF_TEXT;
    for (const char* item : {"Alpha", "Beta"}) {
        row.pszText = const_cast<char*>(item);
        row.iItem = static_cast<int>(SendDlgItemMessageA(w->hwnd, 12, LVM_GETITEMCOUNT, 0, 0));
        SendDlgItemMessageA(w->hwnd, 12, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row));
    }
    TVINSERTSTRUCTA node{};
    node.hInsertAfter = TVI_LAST;
    node.item.mask = TVIF_TEXT;
    node.item.pszText = const_cast<char*>("Tree root");
    SendDlgItemMessageA(w->hwnd, 13, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&node));
    CheckDlgButton(w->hwnd, 4, BST_CHECKED);
}

// --- Owner-drawn buttons in each state, and a hot-tracking button -------------------------

int32_t ButtonsHandler() {
    // Windows have no dialog manager: answer the default-button question here.
    if (EventMessage == DM_GETDEFID) return MAKELONG(kDefaultButtonId, DC_HASDEFID);
    if (EventMessage == EVENT_CONTROL && EventNotifyCode == BN_CLICKED) SetStatus("Button clicked");
    return ChildHandler();
}

void FillButtons() {
    WindowRecord* w = &ButtonsChild;
    struct Look {
        const char* caption;
        uint32_t style;
        int32_t id;
    };
    const Look looks[] = {
        {"Normal", 0, 11},  {"Default", 0, kDefaultButtonId}, {"Pushed", 0, 13},
        {"Disabled", 0, 14}, {"Flat", BS_FLAT, 15},            {"Two-line caption", BS_MULTILINE, 16},
    };
    int32_t y = 10;
    for (const Look& look : looks) {
        ControlAdd(w, CONTROL_PUSH_BUTTON, look.caption, 10, y, 110, look.style & BS_MULTILINE ? 40 : 26,
                   look.style, look.id);
        y += look.style & BS_MULTILINE ? 48 : 34;
    }
    SendDlgItemMessageA(w->hwnd, 13, BM_SETSTATE, TRUE, 0);
    EnableWindow(GetDlgItem(w->hwnd, 14), FALSE);

    // The hot-tracking button: an ellipse with a raised two-pixel edge, a
    // bitmap face that changes while the pointer is over it.
    ControlAdd(w, CONTROL_HOT_BUTTON, "Hover me", 150, 40, 140, 50, 0, kHotButtonId);
    HWND hot = GetDlgItem(w->hwnd, kHotButtonId);
    // Win32 called directly works in device pixels: the ellipse at the DPI.
    const int32_t dpi = WindowDpi(hot);
    SetWindowRgn(hot, CreateEllipticRgn(0, 0, ToDevicePixels(140, dpi), ToDevicePixels(50, dpi)), TRUE);
    HINSTANCE module = GetModuleHandleA(nullptr);
    SetPropA(hot, RT_PROP_NORMAL_BITMAP, LoadImageA(module, "FACE_NORMAL", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    SetPropA(hot, RT_PROP_HOT_BITMAP, LoadImageA(module, "FACE_HOT", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    SetPropA(hot, RT_PROP_BORDER_WIDTH, Value(2));
    SetPropA(hot, RT_PROP_TEXT_COLOUR, Value(RGB(255, 255, 255)));

    // A plain hot button that lightens to its hot colour.
    ControlAdd(w, CONTROL_HOT_BUTTON, "Hot colour", 150, 110, 140, 30, 0, kHotButtonId + 1);
    HWND plain = GetDlgItem(w->hwnd, kHotButtonId + 1);
    SetPropA(plain, RT_PROP_HOT_BRUSH, CreateSolidBrush(RGB(255, 220, 120)));
    SetPropA(plain, RT_PROP_HOT_COLOUR, Value(RGB(255, 220, 120)));
}

// --- Drawing into the backing bitmap -------------------------------------------------

void DrawCanvas() {
    // Drawn in 96-DPI pixels: the runtime's drawing DC scales them to the
    // window's DPI, into the bitmap's device pixels, so the picture stays
    // sharp. Pen widths and font heights scale with it.
    HDC dc = WindowDrawBegin(&CanvasChild, DRAW_96DPI_PIXELS);
    if (!dc) return;
    RECT all{0, 0, 500, 250};
    HBRUSH back = CreateSolidBrush(CanvasChild.windowColor);
    FillRect(dc, &all, back);
    DeleteObject(back);
    HGDIOBJ previousPen = SelectObject(dc, CreatePen(PS_SOLID, 3, RGB(40, 90, 170)));
    HGDIOBJ previousBrush = SelectObject(dc, CreateSolidBrush(RGB(250, 200, 90)));
    for (int i = 0; i < 5; ++i) Ellipse(dc, 20 + 40 * i, 20 + 15 * i, 120 + 40 * i, 90 + 15 * i);
    DeleteObject(SelectObject(dc, previousBrush));
    DeleteObject(SelectObject(dc, previousPen));
    SetBkMode(dc, TRANSPARENT);
    LOGFONTA face{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(face), &face);
    face.lfHeight = -13;
    face.lfWeight = FW_BOLD;
    HGDIOBJ previousFont = SelectObject(dc, CreateFontIndirectA(&face));
    TextOutA(dc, 20, 190, "Drawn once into the backing bitmap;", 35);
    TextOutA(dc, 20, 208, "every repaint copies from it.", 29);
    DeleteObject(SelectObject(dc, previousFont));
    WindowDrawEnd(&CanvasChild);
}

// The canvas is drawn again at a new DPI, sharp instead of scaled.
int32_t CanvasHandler() {
    if (EventMessage == WM_DPICHANGED_AFTERPARENT) DrawCanvas();
    return ChildHandler();
}

// The controls of windows get the system's GUI font; fonts handed to
// controls stay their creator's, and stock objects are never deleted.
BOOL CALLBACK UseGuiFont(HWND window, LPARAM) {
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return TRUE;
}

}  // namespace

void ApplicationScript() {
    WindowCreate(&Frame, 20, 20, 980, 700, WINOPT_FRAME | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, nullptr,
                 "Corvantis Gallery", FrameHandler);
    AddGalleryMenu();
    AddToolbar();
    ControlAdd(&Frame, CONTROL_STATUS_BAR, "Ready", 0, 0, 0, 0, 0, kStatusBarId);

    // Child positions are in the MDI client; the Window menu can rearrange them.
    WindowCreate(&ControlsChild, 0, 0, 440, 330, WS_THICKFRAME, &Frame, "Controls", ChildHandler);
    FillControls();
    WindowCreate(&ButtonsChild, 446, 0, 330, 330, WS_THICKFRAME, &Frame, "Buttons", ButtonsHandler);
    FillButtons();
    WindowCreate(&CanvasChild, 446, 334, 500, 250, WS_THICKFRAME, &Frame, "Canvas", CanvasHandler);
    DrawCanvas();
    EnumChildWindows(Frame.hwnd, UseGuiFont, 0);
    SetFocus(GetDlgItem(ButtonsChild.hwnd, 11));

    while (Running) WaitEvents(0);
    ProgramEnd();
}
