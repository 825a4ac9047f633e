#include <windows.h>
#include <commctrl.h>
#include <string.h>

#include "app/AppState.h"
#include "app/MainFrame.h"
#include "base/ShellMessages.h"
#include "app/StatusBar.h"
#include "resources/resource.h"

static const int EDIT_OPERATIONS_POSITION = 9;

static void SetItemState(HMENU menu, UINT id, int enabled)
{
    MENUITEMINFOA info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    info.fState = enabled ? MFS_ENABLED : MFS_GRAYED;
    SetMenuItemInfoA(menu, id, FALSE, &info);
}

static void SetWindowMenuStates(HMENU menu, int enabled)
{
    static const UINT ids[] = {ID_WINDOW_NEWWINDOW, ID_WINDOW_CLOSE,   ID_WINDOW_CLOSEALL,
                               ID_WINDOW_NEXT,      ID_WINDOW_PREVIOUS, ID_WINDOW_CASCADE,
                               ID_WINDOW_TILEVERT,  ID_WINDOW_TILEHORZ};
    for (UINT id : ids)
        SetItemState(menu, id, enabled);
}

void CMainFrame::OnInitMenuPopup(HMENU menu, int position, int systemMenu)
{
    int maximised;
    HWND active = GetActiveFrame(&maximised);
    // A maximised frame's system menu takes the first place on the menu bar.
    if (maximised)
        position--;
    WPARAM wParam = reinterpret_cast<WPARAM>(menu);
    LPARAM lParam = MAKELPARAM(position, systemMenu);
    switch (position) {
    case 0:
        SetItemState(menu, ID_FILE_NEW, 1);
        SetItemState(menu, ID_FILE_OPEN, 1);
        SetItemState(menu, ID_FILE_SAVE, active != nullptr);
        SetItemState(menu, ID_FILE_SAVEAS, active != nullptr);
        SetItemState(menu, ID_FILE_PRINT,
                     active && SendMessageA(active, WM_HAS_VISIBLE_TEXT, 0, 0) != 0);
        SetItemState(menu, ID_FILE_PRINTPREVIEW, 0);
        break;
    case 1:
        if (active) {
            SendMessageA(active, WM_INITMENUPOPUP, wParam, lParam);
            break;
        }
        {
            static const UINT ids[] = {ID_EDIT_UNDO,   ID_EDIT_REDO,    ID_EDIT_CUT,
                                       ID_EDIT_COPY,   ID_EDIT_PASTE,   ID_EDIT_DELETE,
                                       ID_EDIT_FIND,   ID_EDIT_REPLACE, ID_EDIT_SELECTFONT,
                                       ID_EDIT_SELECTALL};
            for (UINT id : ids)
                SetItemState(menu, id, 0);
            EnableMenuItem(menu, EDIT_OPERATIONS_POSITION, MF_BYPOSITION | MF_GRAYED);
            SetWindowMenuStates(menu, 0);
        }
        break;
    case 2:
        SetWindowMenuStates(menu, active != nullptr);
        break;
    default:
        if (active)
            SendMessageA(active, WM_INITMENUPOPUP, wParam, lParam);
        break;
    }
}

// The commands whose help text the status bar shows while their item is selected.
static int HasMenuHelp(UINT id)
{
    if (id >= ID_FILE_OPEN && id <= ID_WINDOW_PREVIOUS)
        return 1;
    switch (id) {
    case ID_EDIT_UNDO:
    case ID_EDIT_REDO:
    case ID_DEBUG_COORDINATES:
    case ID_DEBUG_TABLENGTH:
    case ID_SORT_ALPHABETIC:
    case ID_SORT_REVERSEALPHABETIC:
    case ID_EDIT_SELECTALL:
    case ID_HELP_ABOUT:
    case ID_CASE_LOWER:
    case ID_CASE_UPPER:
    case ID_CASE_INVERT:
        return 1;
    }
    return 0;
}

void CMainFrame::OnMenuSelect(HMENU menu, UINT item, HMENU popup, UINT flags)
{
    if (!g_app.m_pStatusBar)
        return;
    CStatusPane help;
    memset(&help, 0, sizeof(help));
    help.m_nStyle = SBT_NOBORDERS;
    if (flags == 0xFFFF && !menu) {
        if (g_app.m_pStatusBar->IsSimple()) {
            g_app.m_pStatusBar->SetSimpleText(&help);
            g_app.m_pStatusBar->SetSimple(0);
        }
        return;
    }
    g_app.m_pStatusBar->SetSimple(1);
    UINT id = popup || (flags & MF_SEPARATOR) ? 0 : item;
    if (id >= IDW_FIRST_MDI_CHILD)
        id = IDS_WINDOW_LIST;
    else if (!HasMenuHelp(id))
        id = 0;
    if (id)
        LoadStringA(g_app.m_hInstance, id, help.m_szText, sizeof(help.m_szText));
    g_app.m_pStatusBar->SetSimpleText(&help);
}

LRESULT CMainFrame::OnNotify(int, NMHDR* header)
{
    if (!header || header->code != TTN_NEEDTEXTA)
        return 0;
    switch (header->idFrom) {
    case ID_FILE_OPEN:
    case ID_FILE_NEW:
    case ID_FILE_SAVE:
    case ID_FILE_PRINT:
    case ID_FILE_PRINTPREVIEW:
    case ID_EDIT_CUT:
    case ID_EDIT_COPY:
    case ID_EDIT_PASTE:
    case ID_EDIT_DELETE:
    case ID_EDIT_FIND:
    case ID_EDIT_UNDO:
    case ID_EDIT_REDO: {
        NMTTDISPINFOA* tip = reinterpret_cast<NMTTDISPINFOA*>(header);
        tip->hinst = g_app.m_hInstance;
        tip->lpszText = MAKEINTRESOURCEA(header->idFrom);
        break;
    }
    }
    return 0;
}
