#include "support/MouseInput.h"

static WNDPROC g_tappedProc;
static std::function<void(UINT, WPARAM)> g_after;

void SendMouse(HWND window, UINT message, POINT client, WPARAM keys)
{
    POINT screen = client;
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageA(window, message, keys, MAKELPARAM(client.x, client.y));
}

void RealButton(DWORD mouseEventFlag)
{
    INPUT input;
    ZeroMemory(&input, sizeof(input));
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = mouseEventFlag;
    SendInput(1, &input, sizeof(input));
}

void ReleaseRealButtons()
{
    if (GetAsyncKeyState(VK_LBUTTON) & 0x8000)
        RealButton(MOUSEEVENTF_LEFTUP);
    if (GetAsyncKeyState(VK_RBUTTON) & 0x8000)
        RealButton(MOUSEEVENTF_RIGHTUP);
}

static LRESULT CALLBACK TapProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CallWindowProcA(g_tappedProc, window, message, wParam, lParam);
    if (g_after)
        g_after(message, wParam);
    return result;
}

WindowTap::WindowTap(HWND window, std::function<void(UINT, WPARAM)> after) : m_hWnd(window)
{
    g_after = after;
    g_tappedProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TapProc)));
}

WindowTap::~WindowTap()
{
    if (IsWindow(m_hWnd))
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_tappedProc));
    g_after = nullptr;
}

std::string MenuItems(HMENU menu)
{
    std::string items;
    for (int i = 0; i < GetMenuItemCount(menu); i++) {
        char text[64] = "";
        GetMenuStringA(menu, i, text, sizeof(text), MF_BYPOSITION);
        UINT state = GetMenuState(menu, i, MF_BYPOSITION);
        items += std::string(i ? "|" : "") +
                 (state & MF_SEPARATOR ? "-" : state & MF_GRAYED ? "~" : "") + text;
    }
    return items;
}
