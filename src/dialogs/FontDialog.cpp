// The font dialog's hook: the system's colour box stays hidden, and "Choose Color..." opens
// the full colour dialog instead; the swatch beside it shows the colour chosen there.
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include "base/GdiScope.h"
#include "resources/resource.h"
#include "view/FontHook.h"

namespace {

// The dialog is modal, so one state serves every document's dialog in turn.
struct FontDialogState {
    CHOOSEFONTA* font;
    CHOOSECOLORA* colour;
    HWND faces;
    HWND sample;
    HWND colours;
    HWND note;
    int accepted;
};

FontDialogState g_state;

const int CUSTOM_COLOURS = 16;

// The note on raster fonts is for the faces that are not TrueType.
void ShowRasterNote()
{
    LRESULT selected = SendMessageA(g_state.faces, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR)
        return;
    LRESULT type = SendMessageA(g_state.faces, CB_GETITEMDATA, selected, 0);
    ShowWindow(g_state.note, (LOWORD(type) & TRUETYPE_FONTTYPE) ? SW_HIDE : SW_SHOW);
}

// The colour dialog first offers the font dialog's own colours as its custom colours;
// after that, whatever the user left there.
void FillCustomColours()
{
    CHOOSECOLORA* colour = g_state.colour;
    if (colour->lCustData)
        return;
    colour->lCustData = 1;
    LRESULT count = SendMessageA(g_state.colours, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count && i < CUSTOM_COLOURS; i++)
        colour->lpCustColors[i] =
            static_cast<COLORREF>(SendMessageA(g_state.colours, CB_GETITEMDATA, i, 0));
}

void OnInitDialog(HWND dialog, CHOOSEFONTA* font)
{
    g_state.font = font;
    g_state.colour = reinterpret_cast<CHOOSECOLORA*>(font->lCustData);
    g_state.colour->hwndOwner = dialog;
    g_state.colour->rgbResult = font->rgbColors;
    g_state.faces = GetDlgItem(dialog, cmb1);
    g_state.sample = GetDlgItem(dialog, stc5);
    g_state.colours = GetDlgItem(dialog, cmb4);
    g_state.note = GetDlgItem(dialog, stc6);
    g_state.accepted = 0;
    FillCustomColours();
    // The note matches the face the dialog opens with, not only the faces chosen later.
    ShowRasterNote();
}

// The system's dialog draws its sample in the colour selected in its (hidden) colour box:
// the chosen colour goes into the box as if picked there, and the face already selected is
// clicked again for the dialogs that take the colour up only when a face is chosen.
void PushColourIntoSample(HWND dialog)
{
    SendMessageA(g_state.colours, CB_SETITEMDATA, 0, g_state.colour->rgbResult);
    SendMessageA(g_state.colours, CB_SETCURSEL, 0, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb4, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(g_state.colours));

    RECT dropped;
    SendMessageA(g_state.faces, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    POINT inside = {dropped.left + 5, dropped.bottom - 5};
    HWND list = WindowFromPoint(inside);
    LRESULT selected = SendMessageA(g_state.faces, CB_GETCURSEL, 0, 0);
    // Another window over the list, or no face selected: a click would land elsewhere.
    if (list && GetParent(list) == g_state.faces && selected != CB_ERR) {
        SendMessageA(g_state.faces, CB_SETCURSEL, selected, 0);
        LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
        LRESULT height = SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
        RECT client;
        GetClientRect(list, &client);
        LPARAM at = MAKELPARAM(client.left + 2, client.top + (selected - top) * height + 2);
        SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(list, WM_LBUTTONUP, 0, at);
    }
    // The sample control may be hidden while the dialog paints its place: redraw the place.
    RECT sample;
    GetWindowRect(g_state.sample, &sample);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&sample), 2);
    InvalidateRect(dialog, &sample, TRUE);
}

void OnChooseColour(HWND dialog)
{
    if (!ChooseColorA(g_state.colour))
        return;
    InvalidateRect(GetDlgItem(dialog, IDC_FONT_SWATCH), nullptr, TRUE);
    PushColourIntoSample(dialog);
}

void OnCommand(HWND dialog, int id, int code)
{
    switch (id) {
    case IDOK:
        if (code == BN_CLICKED)
            g_state.accepted = 1;
        break;
    case IDC_FONT_CHOOSE_COLOR:
        if (code == BN_CLICKED)
            OnChooseColour(dialog);
        break;
    case IDC_FONT_SWATCH:
        if (code == STN_DBLCLK) {
            HWND button = GetDlgItem(dialog, IDC_FONT_CHOOSE_COLOR);
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_FONT_CHOOSE_COLOR, BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
        }
        break;
    case cmb1:
        if (code == CBN_SELCHANGE)
            ShowRasterNote();
        break;
    }
}

int OnDrawItem(const DRAWITEMSTRUCT* item)
{
    if (item->CtlID != IDC_FONT_SWATCH)
        return 0;
    CGdiObject brush(CreateSolidBrush(g_state.colour->rgbResult));
    CGdiSelection pen(item->hDC, GetStockObject(BLACK_PEN));
    CGdiSelection fill(item->hDC, brush.Get());
    const RECT& r = item->rcItem;
    Rectangle(item->hDC, r.left, r.top, r.right, r.bottom);
    return 1;
}

void OnDestroy()
{
    if (g_state.accepted)
        g_state.font->rgbColors = g_state.colour->rgbResult;
    g_state = FontDialogState();
}

} // namespace

UINT_PTR CALLBACK FontHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog, reinterpret_cast<CHOOSEFONTA*>(lParam));
        return 1;
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_DRAWITEM: return OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_DESTROY: OnDestroy(); return 0;
    }
    return 0;
}
