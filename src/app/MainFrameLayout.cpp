#include "app/AppState.h"
#include "app/MainFrame.h"
#include "app/StatusBar.h"
#include "app/SunkenFrame.h"
#include "resources/resource.h"

static int WindowHeight(HWND window)
{
    RECT r;
    return window && GetWindowRect(window, &r) ? r.bottom - r.top : 0;
}

void LayoutMainWindow(HWND window)
{
    RECT c;
    GetClientRect(window, &c);
    int toolbar = WindowHeight(g_app.m_hToolbar);
    int status = g_app.m_pStatusBar ? WindowHeight(g_app.m_pStatusBar->m_hWnd) : 0;
    int top = c.top + toolbar + 2;
    SetWindowPos(g_app.m_hMDIClient, nullptr, c.left + 2, top, c.right - 2 - (c.left + 2),
                 c.bottom - status - 2 - top, SWP_NOZORDER);
}

void CMainFrame::OnSize(HWND window, WPARAM type, int width, int height)
{
    if (g_app.m_pStatusBar)
        g_app.m_pStatusBar->ForwardSize(type, width, height);
    // The toolbar docks itself at the top again.
    if (g_app.m_hToolbar)
        SendMessageA(g_app.m_hToolbar, WM_SIZE, type, MAKELPARAM(width, height));
    LayoutMainWindow(window);
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

// The edge of a child window in the main window's client coordinates.
static int ChildEdge(HWND window, HWND child, int bottom, int fallback)
{
    RECT r;
    if (!child || !GetWindowRect(child, &r))
        return fallback;
    POINT p = {r.left, bottom ? r.bottom : r.top};
    ScreenToClient(window, &p);
    return p.y;
}

// A two-pixel sunken frame round the MDI client, between toolbar and status bar.
void CMainFrame::OnPaint(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT c;
    GetClientRect(window, &c);
    RECT frame = {c.left, ChildEdge(window, GetDlgItem(window, IDW_TOOLBAR), 1, c.top), c.right,
                  ChildEdge(window, GetDlgItem(window, IDW_STATUSBAR), 0, c.bottom)};
    PaintSunkenFrame(dc, frame, COLOR_3DLIGHT);
    EndPaint(window, &ps);
}
