#include "app/AppState.h"
#include "app/DocFrame.h"
#include "app/FindCommands.h"
#include "base/ShellMessages.h"
#include "view/EditDisplay.h"

static CDocFrame* FrameOf(HWND window)
{
    return static_cast<CDocFrame*>(GetPropA(window, FRAME_PROPERTY));
}

static void OnFrameCreate(HWND window, const CREATESTRUCTA* create)
{
    const MDICREATESTRUCTA* mdi = static_cast<const MDICREATESTRUCTA*>(create->lpCreateParams);
    CDocFrame* frame = reinterpret_cast<CDocFrame*>(mdi->lParam);
    frame->m_hWnd = window;
    SetPropA(window, FRAME_PROPERTY, frame);
}

// The order in which things go: a frame's window is destroyed first; here its view window
// (which deletes the view) goes before the frame object, so that a view never outlives its
// frame or document; the frame then tells its document, which deletes itself with its last
// frame (COpenDocument::FrameGone).
static void OnFrameDestroy(HWND window)
{
    CDocFrame* frame = static_cast<CDocFrame*>(RemovePropA(window, FRAME_PROPERTY));
    if (frame && frame->m_pView) {
        ForgetFindState(frame->m_pView->GetFindInfo());
        DestroyWindow(frame->m_pView->m_hWnd);
        frame->m_pView = nullptr;
    }
    SendMessageA(g_app.m_hMainWindow, WM_REFRESH_TOOLBAR, 0, 0);
    delete frame;
}

LRESULT CALLBACK DocFrameWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        OnFrameCreate(window, reinterpret_cast<CREATESTRUCTA*>(lParam));
        return 0;
    }
    CDocFrame* frame = FrameOf(window);
    if (!frame)
        return DefMDIChildProcA(window, message, wParam, lParam);
    if (message == g_app.m_uFindMessage && g_app.m_uFindMessage) {
        frame->ForwardToView(g_app.m_uFindMessage, 0, lParam);
        return 0;
    }
    switch (message) {
    case WM_DESTROY:
        OnFrameDestroy(window);
        return 0;
    case WM_CLOSE:
        frame->OnClose();
        return 0;
    case WM_COMMAND:
        frame->OnCommand(wParam, lParam);
        return 0;
    case WM_SETFOCUS:
        frame->OnSetFocus();
        break;
    case WM_SIZE:
        frame->OnSize();
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        frame->OnScroll(message == WM_VSCROLL, LOWORD(wParam));
        return 0;
    case WM_SIZING:
        frame->ForwardToView(WM_SIZING, wParam, lParam);
        break;
    case WM_EXITSIZEMOVE:
        frame->ForwardToView(WM_EXITSIZEMOVE, 0, 0);
        return 0;
    case WM_INITMENUPOPUP:
        frame->ForwardToView(WM_INITMENUPOPUP, wParam, lParam);
        return 0;
    case WM_HAS_VISIBLE_TEXT:
        return frame->ForwardToView(WM_HAS_VISIBLE_TEXT, 0, 0);
    case WM_ERASEBKGND:
        return 1;
    case WM_NCHITTEST:
        return frame->OnNcHitTest(static_cast<short>(LOWORD(lParam)),
                                  static_cast<short>(HIWORD(lParam)));
    case WM_PAINT:
        frame->OnPaint();
        return 0;
    }
    return DefMDIChildProcA(window, message, wParam, lParam);
}
