#include "view/DisplayWindow.h"

#include "base/ShellMessages.h"
#include "view/EditDisplay.h"

// The signed client coordinates of a mouse message.
static int PointX(LPARAM lParam)
{
    return static_cast<short>(LOWORD(lParam));
}

static int PointY(LPARAM lParam)
{
    return static_cast<short>(HIWORD(lParam));
}

LRESULT CALLBACK DisplayWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE) {
        CREATESTRUCTA* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetPropA(hwnd, "disProp", create->lpCreateParams);
        return 0;
    }
    CEditDisplay* view = static_cast<CEditDisplay*>(GetPropA(hwnd, "disProp"));
    if (!view)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_DESTROY:
        RemovePropA(hwnd, "disProp");
        delete view;
        return 0;
    case WM_SIZE: view->OnSize(); return 0;
    case WM_SIZING: view->OnSizing(static_cast<int>(wParam)); return TRUE;
    case WM_EXITSIZEMOVE: view->OnExitSizeMove(); return 0;
    case WM_SETFOCUS: view->OnSetFocus(); return 0;
    case WM_KILLFOCUS: view->OnKillFocus(); return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        view->PaintInto(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_KEYDOWN: view->OnKeyDown(static_cast<UINT>(wParam)); return 0;
    case WM_CHAR: view->OnChar(static_cast<unsigned char>(wParam & 0xFF)); return 0;
    case WM_COMMAND: view->OnCommand(wParam, lParam); return 0;
    case WM_INITMENUPOPUP:
        view->OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam));
        return 0;
    case WM_LBUTTONDOWN: view->OnLeftButtonDown(PointX(lParam), PointY(lParam), 0); return 0;
    case WM_LBUTTONDBLCLK: view->OnLeftButtonDown(PointX(lParam), PointY(lParam), 1); return 0;
    case WM_LBUTTONUP: view->OnLeftButtonUp(); return 0;
    case WM_RBUTTONDOWN: view->OnRightButtonDown(PointX(lParam), PointY(lParam)); return 0;
    case WM_RBUTTONUP: view->OnRightButtonUp(PointX(lParam), PointY(lParam)); return 0;
    case WM_MOUSEMOVE: view->OnMouseMove(); return 0;
    case WM_CAPTURECHANGED: view->OnCaptureChanged(); return 0;
    case WM_TIMER: view->OnTimer(wParam); return 0;
    case WM_MOUSEWHEEL: view->OnMouseWheel(static_cast<short>(HIWORD(wParam))); return 0;
    case WM_HAS_VISIBLE_TEXT: return view->IsDocumentVisible();
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}
