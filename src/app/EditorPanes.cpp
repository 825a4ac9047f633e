#include <string.h>

#include "app/AppState.h"
#include "app/StatusBar.h"
#include "view/ViewHost.h"

static CStatusPane MakePane(UINT id, WORD flags)
{
    CStatusPane pane;
    memset(&pane, 0, sizeof(pane));
    pane.m_nId = id;
    pane.m_wMask = PANE_MASK_TEXT | PANE_MASK_STYLE | PANE_MASK_WIDTH;
    pane.m_wFlags = flags;
    return pane;
}

// The lock panes keep one width whether they show their text or not.
static int LockPaneWidth(HWND control, const char* text)
{
    HDC dc = GetDC(control);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    HGDIOBJ previous = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return extent.cx + 8;
}

void ShowEditorPanes(int on)
{
    if (on) {
        if (g_app.m_bEditorPanesShown || !g_app.m_pStatusBar)
            return;
        CStatusPane panes[3] = {MakePane(PANE_POSITION, PANE_SHRINKS | PANE_TOOLTIP),
                                MakePane(PANE_CAPS, PANE_RIGHT | PANE_FIXED),
                                MakePane(PANE_NUM, PANE_RIGHT | PANE_FIXED)};
        panes[1].m_nFixedWidth = LockPaneWidth(g_app.m_pStatusBar->m_hWnd, "CAP");
        panes[2].m_nFixedWidth = LockPaneWidth(g_app.m_pStatusBar->m_hWnd, "NUM");
        g_app.m_pStatusBar->AddPanes(panes, 3);
        g_app.m_bEditorPanesShown = 1;
        UpdateLockIndicators();
    } else if (g_app.m_bEditorPanesShown) {
        if (g_app.m_pStatusBar)
            g_app.m_pStatusBar->RemoveAddedPanes();
        g_app.m_bEditorPanesShown = 0;
    }
}

static void SetPaneText(UINT id, const char* text)
{
    CStatusPane request;
    memset(&request, 0, sizeof(request));
    request.m_nId = id;
    request.m_wMask = PANE_MASK_TEXT;
    lstrcpynA(request.m_szText, text, sizeof(request.m_szText));
    g_app.m_pStatusBar->UpdatePane(&request);
}

void UpdateLockIndicators()
{
    if (!g_app.m_pStatusBar)
        return;
    SetPaneText(PANE_CAPS, (GetKeyState(VK_CAPITAL) & 1) ? "CAP" : "");
    SetPaneText(PANE_NUM, (GetKeyState(VK_NUMLOCK) & 1) ? "NUM" : "");
}

void ShowCaretPosition(int row, int column)
{
    if (!g_app.m_pStatusBar)
        return;
    char text[64];
    wsprintfA(text, "Row: %d Col: %d", row, column);
    SetPaneText(PANE_POSITION, text);
}
