// The shell's side of the view's host seam (view/ViewHost.h).
#include "view/ViewHost.h"

#include "app/AppState.h"
#include "app/DocFrame.h"
#include "app/OpenDocument.h"

CTextDocument* HostedText(const COpenDocument* owner)
{
    return owner ? owner->GetTextDocument() : nullptr;
}

HMENU CommandMenu(const COpenDocument* owner)
{
    HWND main = owner ? owner->GetMainWindow() : nullptr;
    return main ? GetMenu(main) : nullptr;
}

HWND CommandToolbar(const COpenDocument* owner)
{
    HWND main = owner ? owner->GetMainWindow() : nullptr;
    return main ? FindWindowExA(main, nullptr, "ToolbarWindow32", nullptr) : nullptr;
}

void PassCommandToFrame(const COpenDocument* owner, WPARAM wParam, LPARAM lParam)
{
    DefFrameProcA(owner->GetMainWindow(), owner->GetMDIClient(), WM_COMMAND, wParam, lParam);
}

HWND FrameWindow(const CDocFrame* frame)
{
    return frame->m_hWnd;
}

RECT ViewArea(const CDocFrame* frame)
{
    int left, top, right, bottom;
    frame->GetViewArea(&left, &top, &right, &bottom);
    RECT area = {left, top, right, bottom};
    return area;
}

void SendToFindDialogs(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (g_app.m_hFindDialog)
        SendMessageA(g_app.m_hFindDialog, message, wParam, lParam);
    if (g_app.m_hReplaceDialog)
        SendMessageA(g_app.m_hReplaceDialog, message, wParam, lParam);
}
