#pragma once
#include <windows.h>

#include <functional>
#include <string>

// The view reads the pointer itself: each mouse message goes with the pointer really there.
void SendMouse(HWND window, UINT message, POINT client, WPARAM keys = 0);
// A real button event at the pointer, as the system queues it (GetAsyncKeyState sees it).
void RealButton(DWORD mouseEventFlag);
// Lets the real buttons that a failed test left down come up.
void ReleaseRealButtons();

// Calls after(message, wParam) once window has handled each message; one tap at a time.
class WindowTap {
public:
    WindowTap(HWND window, std::function<void(UINT, WPARAM)> after);
    ~WindowTap();

private:
    WindowTap(const WindowTap&);
    WindowTap& operator=(const WindowTap&);
    HWND m_hWnd;
};

// The items of a menu as "Cu&t|~&Paste|-": "~" marks a grayed item, "-" a separator.
std::string MenuItems(HMENU menu);
