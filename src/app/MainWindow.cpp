#include "app/AppState.h"
#include "app/MainFrame.h"
#include "base/ShellMessages.h"

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        // Without its frame object the main window is not made (start-up reports it).
        return OnMainCreate(window) ? 0 : -1;
    }
    CMainFrame* frame = GetMainFrame(window);
    if (!frame)
        return DefFrameProcA(window, g_app.m_hMDIClient, message, wParam, lParam);
    if (message == g_app.m_uFindMessage && g_app.m_uFindMessage) {
        frame->OnFindMessage(reinterpret_cast<FINDREPLACEA*>(lParam));
        return 0;
    }
    switch (message) {
    case WM_DESTROY:
        frame->OnDestroy(window);
        return 0;
    case WM_SIZE:
        frame->OnSize(window, wParam, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_PAINT:
        frame->OnPaint(window);
        return 0;
    case WM_CLOSE:
        frame->OnClose(window);
        return 0;
    case WM_QUERYENDSESSION:
        return frame->OnQueryEndSession();
    case WM_ENDSESSION:
        frame->OnEndSession(window, static_cast<BOOL>(wParam));
        return 0;
    case WM_NOTIFY:
        return frame->OnNotify(static_cast<int>(wParam), reinterpret_cast<NMHDR*>(lParam));
    case WM_COMMAND:
        frame->OnCommand(window, wParam, lParam);
        return 0;
    case WM_INITMENUPOPUP:
        frame->OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_MENUSELECT: {
        HMENU menu = reinterpret_cast<HMENU>(lParam);
        UINT flags = HIWORD(wParam);
        HMENU popup = (flags != 0xFFFF && (flags & MF_POPUP))
                          ? GetSubMenu(menu, LOWORD(wParam))
                          : nullptr;
        frame->OnMenuSelect(menu, popup ? 0 : LOWORD(wParam), popup, flags);
        return 0;
    }
    case WM_DOCUMENT_GONE:
        frame->OnDocumentGone(reinterpret_cast<COpenDocument*>(wParam));
        return 0;
    case WM_CLIPBOARDUPDATE:
        frame->OnClipboardUpdate();
        return 0;
    case WM_REFRESH_TOOLBAR:
        RefreshToolbar();
        return 0;
    }
    return DefFrameProcA(window, g_app.m_hMDIClient, message, wParam, lParam);
}
