#include "app/AppState.h"
#include "app/MainFrame.h"
#include "app/StatusBar.h"
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
    int toolbar = WindowHeight(g_hToolbar);
    int status = g_pStatusBar ? WindowHeight(g_pStatusBar->m_hWnd) : 0;
    int top = c.top + toolbar + 2;
    SetWindowPos(g_hMDIClient, nullptr, c.left + 2, top, c.right - 2 - (c.left + 2),
                 c.bottom - status - 2 - top, SWP_NOZORDER);
}

void CMainFrame::OnSize(HWND window, WPARAM type, int width, int height)
{
    if (g_pStatusBar)
        g_pStatusBar->ForwardSize(type, width, height);
    // The toolbar docks itself at the top again.
    if (g_hToolbar)
        SendMessageA(g_hToolbar, WM_SIZE, type, MAKELPARAM(width, height));
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

static void Line(HDC dc, int x0, int y0, int x1, int y1)
{
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

// A two-pixel sunken frame round the MDI client, between toolbar and status bar.
void CMainFrame::OnPaint(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT c;
    GetClientRect(window, &c);
    int L = c.left, R = c.right;
    int t = ChildEdge(window, GetDlgItem(window, IDW_TOOLBAR), 1, c.top);
    int s = ChildEdge(window, GetDlgItem(window, IDW_STATUSBAR), 0, c.bottom);
    POINT position;
    MoveToEx(dc, L, t, &position);
    HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DLIGHT));
    HGDIOBJ previous = SelectObject(dc, GetStockObject(BLACK_PEN));
    Line(dc, L + 1, t + 1, L + 1, s - 2);
    Line(dc, L + 1, t + 1, R - 2, t + 1);
    SelectObject(dc, shadow);
    Line(dc, L, t, L, s - 1);
    Line(dc, L, t, R - 1, t);
    SelectObject(dc, GetStockObject(WHITE_PEN));
    Line(dc, R - 1, t, R - 1, s);
    Line(dc, L, s - 1, R, s - 1);
    SelectObject(dc, light);
    Line(dc, R - 2, t + 1, R - 2, s - 1);
    Line(dc, L + 1, s - 2, R - 1, s - 2);
    MoveToEx(dc, position.x, position.y, nullptr);
    SelectObject(dc, previous);
    DeleteObject(shadow);
    DeleteObject(light);
    EndPaint(window, &ps);
}
