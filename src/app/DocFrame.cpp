#include "app/DocFrame.h"

#include <new>

#include "app/AppState.h"
#include "base/ErrorBox.h"
#include "app/OpenDocument.h"
#include "app/SunkenFrame.h"
#include "base/ShellMessages.h"
#include "document/TextDocument.h"
#include "resources/resource.h"
#include "view/EditDisplay.h"
#include "view/ScrollBars.h"

CDocFrame::CDocFrame(COpenDocument* document)
    : m_hWnd(nullptr), m_pScrollBars(nullptr), m_pDocument(document), m_pView(nullptr)
{
}

CDocFrame::~CDocFrame()
{
    if (m_pDocument)
        m_pDocument->FrameGone(this);
    delete m_pScrollBars;
}

int CDocFrame::Create(HWND mdiClient, const char* failure)
{
    HWND active = reinterpret_cast<HWND>(SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, 0));
    int maximised = active ? IsZoomed(active) : g_app.m_bRememberMaximised;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(mdiClient, GWLP_HINSTANCE));
    m_hWnd = CreateWindowExA(WS_EX_MDICHILD, FRAME_CLASS, "Untitled", WS_CHILD, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, mdiClient, nullptr,
                             instance, this);
    if (!m_hWnd) {
        ShowLastError(g_app.m_hMainWindow, failure);
        return 0;
    }
    if (maximised) {
        ShowWindow(m_hWnd, SW_HIDE);
        SendMessageA(mdiClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(m_hWnd), 0);
    }
    ShowWindow(m_hWnd, SW_SHOW);

    // A view or scroll bars that were made but failed to start have told why already.
    m_pView = new (std::nothrow) CEditDisplay(m_pDocument, this);
    if (!m_pView || !m_pView->m_hWnd) {
        const char* caption = m_pView ? nullptr : "Display object creation failed";
        delete m_pView;
        m_pView = nullptr;
        return Abandon(mdiClient, caption);
    }
    m_pScrollBars = new (std::nothrow) CScrollBars(m_pView, this);
    if (!m_pScrollBars || !m_pScrollBars->IsCreated()) {
        const char* caption = m_pScrollBars ? nullptr : "Scroll object creation failed";
        delete m_pScrollBars;
        m_pScrollBars = nullptr;
        return Abandon(mdiClient, caption);
    }
    m_pView->AttachScrollBars(m_pScrollBars);
    return 1;
}

// Takes the half-made window down without it deleting this object, which the caller does;
// a caption tells the user of an object that could not be allocated.
int CDocFrame::Abandon(HWND mdiClient, const char* caption)
{
    if (caption)
        ShowOutOfMemory(mdiClient, caption);
    RemovePropA(m_hWnd, FRAME_PROPERTY);
    SendMessageA(mdiClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
    m_hWnd = nullptr;
    m_pView = nullptr;
    return 0;
}

HWND CDocFrame::ViewWindow() const
{
    return m_pView ? m_pView->m_hWnd : nullptr;
}

void CDocFrame::GetViewArea(int* left, int* top, int* right, int* bottom) const
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(m_hWnd, &client);
    int margin = IsZoomed(m_hWnd) ? 0 : 2;
    *left = margin;
    *top = margin;
    *right = client.right - GetSystemMetrics(SM_CXVSCROLL) - margin;
    *bottom = client.bottom - GetSystemMetrics(SM_CYHSCROLL) - margin;
}

void CDocFrame::OnClose()
{
    // A close chosen from the menu bar of a maximised frame arrives twice (once through
    // the view's default command handling, once through the main frame's): swallow the first.
    if (g_app.m_nCloseCounter != 1 && IsZoomed(m_hWnd)) {
        g_app.m_nCloseCounter++;
        return;
    }
    CloseFrame();
    g_app.m_nCloseCounter = 0;
}

int CDocFrame::CloseFrame()
{
    // The sort worker reads the text and tells every view: nothing of it may go meanwhile.
    if (m_pDocument->IsBusy())
        return 0;
    if (m_pDocument->GetFrameCount() == 1) {
        if (!m_pDocument->GetTextDocument()->QueryClose())
            return 0;
        g_app.m_bRememberMaximised = IsZoomed(m_hWnd) ? 1 : 0;
    }
    SendMessageA(GetParent(m_hWnd), WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
    return 1;
}

void CDocFrame::OnSize()
{
    if (m_pView)
        m_pView->PlaceWindow();
}

void CDocFrame::OnScroll(int vertical, int code)
{
    if (!m_pView)
        return;
    if (vertical)
        m_pView->OnVScroll(code);
    else
        m_pView->OnHScroll(code);
}

void CDocFrame::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case ID_WINDOW_NEWWINDOW:
        m_pDocument->NewWindow();
        break;
    case ID_FOCUS_CYCLE:
        CycleFocus();
        break;
    default:
        ForwardToView(WM_COMMAND, wParam, lParam);
        break;
    }
}

void CDocFrame::CycleFocus()
{
    HWND focus = GetFocus();
    HWND view = ViewWindow();
    HWND horizontal = m_pScrollBars ? m_pScrollBars->GetHorzBar() : nullptr;
    HWND vertical = m_pScrollBars ? m_pScrollBars->GetVertBar() : nullptr;
    if (!focus)
        return;
    if (focus == view && horizontal)
        SetFocus(horizontal);
    else if (focus == horizontal && vertical)
        SetFocus(vertical);
    else if (focus == vertical && view)
        SetFocus(view);
}

void CDocFrame::OnSetFocus()
{
    HWND view = ViewWindow();
    if (view)
        SetFocus(view);
}

LRESULT CDocFrame::ForwardToView(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND view = ViewWindow();
    return view ? SendMessageA(view, message, wParam, lParam) : 0;
}

LRESULT CDocFrame::OnNcHitTest(int x, int y)
{
    // The two-pixel border inside the client area belongs to the client, not the frame.
    POINT point = {x, y};
    ScreenToClient(m_hWnd, &point);
    RECT client;
    GetClientRect(m_hWnd, &client);
    if (PtInRect(&client, point)) {
        RECT inner = client;
        InflateRect(&inner, -2, -2);
        if (!PtInRect(&inner, point))
            return HTCLIENT;
    }
    return DefMDIChildProcA(m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(x, y));
}

void CDocFrame::OnPaint()
{
    InvalidateRect(m_hWnd, nullptr, TRUE);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    if (!IsZoomed(m_hWnd)) {
        RECT r;
        GetClientRect(m_hWnd, &r);
        PaintSunkenFrame(dc, r, COLOR_BTNFACE);
    }
    EndPaint(m_hWnd, &ps);
}
